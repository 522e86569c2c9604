#include "discaccess/CDDrives.h"

#include "discaccess/DeviceAccess.h"
#include "discaccess/MechanismCommands.h"
#include "discaccess/ModePageCommands.h"
#include "discaccess/ReadCommands.h"
#include "discaccess/TocCommands.h"
#include "discaccess/TrackInfoCommands.h"
#include "discaccess/TrayCommands.h"
#include "discaccess/UnitCommands.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace quillon::disc {

namespace {

std::string trimmed(const std::string &text)
{
    std::size_t start = 0, end = text.size();
    while (start < end && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(start, end - start);
}

// Key, ASC and ASCQ from fixed or descriptor sense data.
void senseTriple(const std::array<std::uint8_t, 128> &sense, int &key, int &asc, int &ascq)
{
    const int format = sense[0] & 0x7F;
    if (format == 0x72 || format == 0x73) {
        key = sense[1] & 0x0F, asc = sense[2], ascq = sense[3];
    } else {
        key = sense[2] & 0x0F, asc = sense[12], ascq = sense[13];
    }
}

} // namespace

const char *discStateName(TDiscState state)
{
    switch (state) {
    case TDiscState::dsBlank:
        return "blank";
    case TDiscState::dsAppendable:
        return "appendable";
    case TDiscState::dsClosed:
        return "closed";
    case TDiscState::dsUnknown:
        break;
    }
    return "unknown";
}

// ---- TkseCDDrive ------------------------------------------------------------------------

TkseCDDrive::TkseCDDrive(TScsiDeviceId id, TkseCDDrives *owner)
    : Owner(owner)
    , DeviceId(id)
    , Settings(DefaultScsiSettings())
{
}

TkseCDDrive::~TkseCDDrive()
{
    // Only our own lock is ours to lift: allowing removal on a drive we never locked would
    // release another program's lock, even in the middle of its burn.
    if (m_locked)
        PreventAllowRemoval(DeviceId, Settings, false);
    if (Owner)
        Owner->forget(this);
}

TCDInquiry TkseCDDrive::GetInquiry()
{
    TCDInquiry inquiry;
    SetError(Inquiry(DeviceId, Settings, inquiry));
    return inquiry;
}

bool TkseCDDrive::IsReady()
{
    SetError(TestUnitReady(DeviceId, Settings));
    return LastError == errOk;
}

TCDCapabilities TkseCDDrive::GetCapabilities()
{
    TCDCapabilities caps;
    SetError(ReadCapabilities(DeviceId, Settings, caps));
    return caps;
}

void TkseCDDrive::GetCapabilities2(TModeSenseReply &reply)
{
    reply.fill(0);
    LastError = ReadModePage2A(DeviceId, Settings, reply);
}

TCDMechanism TkseCDDrive::GetMechanism()
{
    TCDMechanism mechanism{};
    MechanismStatus(DeviceId, Settings, 0, mechanism);
    TModeSenseReply scratch;
    GetCapabilities2(scratch);
    // Drives that cannot report their mechanism still give the open door as medium type.
    if (scratch[2] == 0x71)
        mechanism.Flags |= mfDoorOpen;
    return mechanism;
}

TCDTrackList TkseCDDrive::GetTrackList()
{
    TCDTrackList list;
    SetError(ReadTrackList(DeviceId, Settings, list));
    return list;
}

TCdTextReply TkseCDDrive::GetCdText()
{
    TCdTextReply reply{};
    SetError(ReadCdTextData(DeviceId, Settings, reply));
    return reply;
}

TAtipReply TkseCDDrive::GetAtip()
{
    TAtipReply reply{};
    SetError(ReadAtip(DeviceId, Settings, reply));
    return reply;
}

bool TkseCDDrive::IsRewritable()
{
    return atipRewritable(GetAtip());
}

std::int64_t TkseCDDrive::GetAtipLeadOut()
{
    return atipLeadOut(GetAtip());
}

std::int64_t TkseCDDrive::GetDiscCapacity()
{
    const std::int64_t leadOut = GetAtipLeadOut();
    return leadOut < 0 ? 0 : leadOut;
}

std::uint32_t TkseCDDrive::GetLastLba()
{
    std::uint32_t lastLba = 0;
    SetError(ReadCapacity(DeviceId, Settings, lastLba));
    return LastError == errOk ? lastLba : 0;
}

std::string TkseCDDrive::GetIsoVolumeLabel()
{
    std::string label;
    SetError(ReadIsoVolumeLabel(DeviceId, Settings, label));
    return LastError == errOk ? label : std::string();
}

TTrackInfoReply TkseCDDrive::GetTrackInfo()
{
    TTrackInfoReply reply{};
    SetError(ReadTrackInfo(DeviceId, Settings, reply));
    return reply;
}

TCDSessionInfo TkseCDDrive::GetSessionInfo()
{
    TCDSessionInfo info;
    std::memset(&info, 0, sizeof info);
    if (!Owner || !Owner->sessionInfoFunction()) {
        SetError(errOther);
        ReportDiscMessage(DiscMessage::Internal,
                          "Session information asked of a drive list without a reader");
        return info;
    }
    std::uint8_t error = errOther;
    Owner->sessionInfoFunction()(DeviceId, &info, &error);
    SetError(error);
    return info;
}

TDiscState TkseCDDrive::GetDiscState()
{
    const TCDSessionInfo info = GetSessionInfo();
    const std::uint8_t sessionCode = LastError;
    if (sessionCode == errOk && info.LastSession > 0) {
        const TTrackInfoReply track = GetTrackInfo();
        if (LastError != errOk)
            return TDiscState::dsUnknown;
        std::uint32_t address = 0;
        return nextWritableAddress(track, address) ? TDiscState::dsAppendable : TDiscState::dsClosed;
    }
    // A blank disc has no TOC to read, but neither has a drive that failed for any other
    // reason; only "invalid field" on a disc whose invisible track is blank means blank.
    if (sessionCode != errIllegalRequest)
        return TDiscState::dsUnknown;
    // The failed read's sense stayed in the library; ask once more to see it here.
    TCDSessionInfo again;
    SetError(ReadTocSessions(DeviceId, Settings, again));
    int key = 0, asc = 0, ascq = 0;
    senseTriple(Settings.Sense, key, asc, ascq);
    if (LastError != errIllegalRequest || key != 0x05 || asc != 0x24 || ascq != 0x00)
        return TDiscState::dsUnknown;
    const TTrackInfoReply track = GetTrackInfo();
    if (LastError != errOk)
        return TDiscState::dsUnknown;
    return (track[6] >> 6) & 1 ? TDiscState::dsBlank : TDiscState::dsUnknown;
}

std::uint8_t TkseCDDrive::CloseTray(bool immediate)
{
    SetError(StartStopUnit(DeviceId, Settings, true, true, immediate));
    return LastError;
}

std::uint8_t TkseCDDrive::EjectTray(bool immediate)
{
    SetError(StartStopUnit(DeviceId, Settings, false, true, immediate));
    return LastError;
}

std::uint8_t TkseCDDrive::PreventRemoval(bool prevent)
{
    SetError(PreventAllowRemoval(DeviceId, Settings, prevent));
    if (LastError == errOk)
        m_locked = prevent;
    return LastError;
}

std::string TkseCDDrive::ScsiAddressText() const
{
    std::uint8_t adapter, target, lun;
    char letter;
    SplitDeviceId(DeviceId, adapter, target, lun, letter);
    return std::to_string(adapter) + "," + std::to_string(target) + "," + std::to_string(lun);
}

// ---- TkseCDDrives -----------------------------------------------------------------------

TkseCDDrives::TkseCDDrives()
{
    EnumerateDevices(5, [this](TScsiDeviceId id) {
        TScsiSettings settings = DefaultScsiSettings();
        TCDInquiry inquiry;
        const std::uint8_t code = Inquiry(id, settings, inquiry);
        std::string vendor = inquiry.Vendor, product = inquiry.Product;
        // A table copy of a drive that never answered is all zero: it names nobody.
        if (code != errOk || (vendor.empty() && product.empty())) {
            vendor = "UNKNOWN";
            product.clear();
            std::uint8_t adapter, target, lun;
            char letter;
            SplitDeviceId(id, adapter, target, lun, letter);
            if (const TCDDriveEntry *entry = FindDriveEntry(ProcessDriveTable(), adapter, target, lun)) {
                if (!trimmed(entry->Vendor).empty())
                    vendor = trimmed(entry->Vendor).substr(0, 8);
                product = trimmed(entry->Product).substr(0, 16);
            }
        }
        Vendors.push_back({vendor, 0});
        Products.push_back({product, id});
        return true;
    });
}

TkseCDDrives::~TkseCDDrives()
{
    m_destroying = true;
    for (auto &[index, drive] : m_cache) {
        drive->Owner = nullptr;
        delete drive;
    }
    m_cache.clear();
}

void TkseCDDrives::Error(const char *format, int argument)
{
    char text[128];
    std::snprintf(text, sizeof text, format, argument);
    throw EkseCDDrivesError(text);
}

void TkseCDDrives::checkIndex(int index)
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
}

TkseCDDrive &TkseCDDrives::Drive(int index)
{
    checkIndex(index);
    auto it = m_cache.find(index);
    if (it == m_cache.end())
        it = m_cache.emplace(index, new TkseCDDrive(Products[std::size_t(index)].id, this)).first;
    return *it->second;
}

TScsiDeviceId TkseCDDrives::DeviceId(int index)
{
    checkIndex(index);
    return Products[std::size_t(index)].id;
}

std::string TkseCDDrives::VendorText(int index)
{
    checkIndex(index);
    return Vendors[std::size_t(index)].text;
}

std::string TkseCDDrives::ProductText(int index)
{
    checkIndex(index);
    return Products[std::size_t(index)].text;
}

char TkseCDDrives::DriveLetter(int index)
{
    checkIndex(index);
    return platformDriveLetter(index, Products[std::size_t(index)].id);
}

int TkseCDDrives::IndexOfLetter(char letter)
{
    const char wanted = char(std::toupper(static_cast<unsigned char>(letter)));
    for (int i = 0; i < Count(); ++i)
        if (DriveLetter(i) == wanted)
            return i;
    return -1;
}

void TkseCDDrives::forget(const TkseCDDrive *drive)
{
    if (m_destroying)
        return;
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it)
        if (it->second == drive) {
            m_cache.erase(it);
            return;
        }
}

bool DiscReadyByLetter(TkseCDDrives &drives, char letter, const std::function<bool(char)> &volumeHasSize)
{
    const int index = drives.IndexOfLetter(letter);
    if (index < 0)
        return volumeHasSize && volumeHasSize(letter);
    return drives.Drive(index).IsReady();
}

} // namespace quillon::disc
