#pragma once
// The drive-table face: one entry per CD/DVD drive with its address, identity and letter,
// and the TOC read of the disc-id client.
#include "discaccess/DiscTypes.h"

#include <string>

namespace quillon::disc {

inline constexpr const char *kNoInterfaceText = "No usable interface available";
inline constexpr const char *kNoSelectedInterfaceText =
    "No usable interface available or selected interface not available";

// Zero-fills and builds the table through the current transport. False with
// interfaceError set when the interface cannot be used; false with it empty when the
// machine has no drive.
bool BuildDriveTable(TCDDriveTable &table, TCDInterface iface, std::string *interfaceError = nullptr);
// Asks drive `index` for its identity and fills the entry's identity fields.
bool ReadDriveIdentity(int index, TCDDriveTable &table, TCDInterface iface,
                       std::string *interfaceError = nullptr);
// True when the read FAILED, as the disc-id client expects.
bool ReadTocForDrive(TCDDriveTable &table, int index, TCDToc &toc, TCDInterface iface,
                     std::string *interfaceError = nullptr);

// The TOC (format 0, MSF) reply into the disc-id record; false when it holds no track.
bool decodeMsfToc(const std::uint8_t *reply, std::size_t transferred, TCDToc &toc);
// Inquiry text as the drive table keeps it: up to the first zero byte of the field.
std::string inquiryField(const std::uint8_t *data, std::size_t size, std::size_t offset, std::size_t width);

} // namespace quillon::disc
