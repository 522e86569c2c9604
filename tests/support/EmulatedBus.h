#pragma once
// Several emulated drives behind one transport, as a machine with more than one drive, and
// the fixture file that describes such a machine (read by the end-to-end test variant of
// Trackprobe too). Plain C++, no Qt.
#include "EmulatedDrive.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quillon::test {

class EmulatedBus : public disc::ScsiTransport {
public:
    // One emulated drive per drive of a sysfs tree, identifying itself with the tree's
    // vendor, model and revision strings.
    static std::unique_ptr<EmulatedBus> fromSysfs(const std::string &sysRoot);

    EmulatedDrive &add(const disc::DriveLocation &where);
    EmulatedDrive &drive(std::size_t index) { return *m_drives.at(index); }
    std::size_t size() const { return m_drives.size(); }

    // Nodes whose drive never answers INQUIRY (a drive busy writing, a broken bridge).
    std::set<std::string> muteNodes;
    bool answerInquiryFromTable = true;

    std::vector<disc::DriveLocation> listDrives() override;
    disc::ScsiOutcome execute(const disc::DriveLocation &where, const disc::ScsiRequest &request) override;
    bool inquiryFromTable() const override { return answerInquiryFromTable; }
    std::optional<disc::DoorState> doorState(const disc::DriveLocation &where) override;
    std::optional<std::uint8_t> moveTray(const disc::DriveLocation &where, bool load) override;
    std::optional<disc::IoctlToc> readTocIoctl(const disc::DriveLocation &where) override;

private:
    EmulatedDrive *find(const disc::DriveLocation &where);
    std::vector<std::unique_ptr<EmulatedDrive>> m_drives;
};

// A disc model of the shared set by its function name ("blankCdR80", "cdPlus", ...).
bool discModelByName(const std::string &name, DiscModel &model);

// The fixture file: one drive a line, "node H:C:T:L disc-model [vendor [product]]", '#'
// starts a comment. False (with the line in error) when a line cannot be read.
bool loadEmulatedBus(const std::string &path, EmulatedBus &bus, std::string *error = nullptr);
bool writeEmulatedBusFixture(const std::string &path, const std::vector<std::string> &lines);

} // namespace quillon::test
