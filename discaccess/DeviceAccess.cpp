#include "discaccess/DeviceAccess.h"

#include "discaccess/DriveTable.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

namespace quillon::disc {

namespace {

struct ProcessState {
    DiscMessageHandler handler;
    ScsiTransport *transport = nullptr;
    std::unique_ptr<ScsiTransport> systemTransport;
    TCDDriveTable table;
    TScsiSettings defaults;
    bool groupHintShown = false;
    bool aspiReportsLetters = false;
};

ProcessState &state()
{
    static ProcessState s;
    return s;
}

constexpr std::uint8_t kOpInquiry = 0x12;

} // namespace

TScsiDeviceId MakeDeviceId(std::uint8_t adapter, std::uint8_t target, std::uint8_t lun, std::uint8_t letterIndex)
{
    return (TScsiDeviceId(adapter) << 24) | (TScsiDeviceId(target) << 16) | (TScsiDeviceId(lun & 0x07) << 13) |
           (TScsiDeviceId(letterIndex & 0x1F) << 8);
}

void SplitDeviceId(TScsiDeviceId id, std::uint8_t &adapter, std::uint8_t &target, std::uint8_t &lun, char &letter)
{
    adapter = std::uint8_t(id >> 24);
    target = std::uint8_t(id >> 16);
    lun = std::uint8_t((id >> 13) & 0x07);
    letter = char(0x40 + ((id >> 8) & 0x1F));
}

void SetDiscMessageHandler(DiscMessageHandler handler) { state().handler = std::move(handler); }

void ReportDiscMessage(DiscMessage kind, const std::string &text, const std::string &caption)
{
    if (state().handler)
        state().handler(kind, text, caption);
}

void SetScsiTransport(ScsiTransport *transport) { state().transport = transport; }

ScsiTransport &CurrentTransport()
{
    ProcessState &s = state();
    if (s.transport)
        return *s.transport;
    if (!s.systemTransport)
        s.systemTransport = makeSystemTransport();
    return *s.systemTransport;
}

TCDDriveTable &ProcessDriveTable() { return state().table; }
TScsiSettings &DefaultScsiSettings() { return state().defaults; }

void StartDiscAccess()
{
    TCDDriveTable &table = ProcessDriveTable();
    table = {};
    std::string error;
    // The pass-through path first; ASPI where the OS has nothing better.
    if (BuildDriveTable(table, TCDInterface::cdiNTSCSI, &error) || error.empty())
        return;
    error.clear();
    if (BuildDriveTable(table, TCDInterface::cdiAutoDetect, &error) || error.empty())
        return;
    error.clear();
    if (!BuildDriveTable(table, TCDInterface::cdiASPI, &error) && !error.empty()) {
        table = {};
        ReportDiscMessage(DiscMessage::Internal, "Drive table: " + error);
    }
}

const TCDDriveEntry *FindDriveEntry(const TCDDriveTable &table, std::uint8_t adapter, std::uint8_t target,
                                    std::uint8_t lun)
{
    const int count = std::min<int>(table.Count, kDriveTableSize);
    for (int i = 0; i < count; ++i) {
        const TCDDriveEntry &e = table.Drives[std::size_t(i)];
        if (e.Valid == 1 && e.HostAdapter == adapter && e.Target == target && e.Lun == lun)
            return &e;
    }
    return nullptr;
}

const TCDDriveEntry *DriveEntryOf(TScsiDeviceId id)
{
    std::uint8_t adapter, target, lun;
    char letter;
    SplitDeviceId(id, adapter, target, lun, letter);
    return FindDriveEntry(ProcessDriveTable(), adapter, target, lun);
}

DriveLocation LocationOf(const TCDDriveEntry &e)
{
    DriveLocation where;
    where.host = e.RealHost;
    where.channel = e.RealChannel;
    where.target = e.RealTarget;
    where.lun = e.RealLun;
    where.node = e.Node;
    where.mountPoint = e.MountPoint;
    return where;
}

std::uint8_t ExecScsiCommand(TScsiDeviceId id, const std::uint8_t *cdb, std::size_t cdbLength,
                             ScsiDirection direction, void *buffer, std::size_t bufferLength,
                             TScsiSettings &settings, std::size_t *transferred)
{
    if (transferred)
        *transferred = 0;
    if (!cdb || cdbLength == 0 || cdbLength > 16 || (bufferLength > 0 && !buffer))
        return errInvalidArgument;
    const TCDDriveEntry *entry = DriveEntryOf(id);
    if (!entry)
        return errOther;
    ScsiTransport &transport = CurrentTransport();
    auto *data = static_cast<std::uint8_t *>(buffer);

    // The table keeps the drive's inquiry data; asking the drive again would only wake it.
    if (cdb[0] == kOpInquiry && transport.inquiryFromTable()) {
        const std::size_t n = std::min(bufferLength, entry->Inquiry.size());
        std::memcpy(data, entry->Inquiry.data(), n);
        if (transferred)
            *transferred = n;
        return errOk;
    }

    ScsiRequest request;
    request.cdb = cdb;
    request.cdbLength = cdbLength;
    request.direction = direction;
    request.data = data;
    request.dataLength = bufferLength;
    request.timeoutMs = settings.Timeout;

    const DriveLocation where = LocationOf(*entry);
    ScsiOutcome outcome = transport.execute(where, request);
    // The first command after a disc goes in answers "medium changed"; it is not a failure.
    if (isTransientUnitAttention(outcome))
        outcome = transport.execute(where, request);

    settings.Sense.fill(0);
    std::memcpy(settings.Sense.data(), outcome.sense.data(),
                std::min<std::size_t>(outcome.senseLength, outcome.sense.size()));

    const std::uint8_t code = codeFromOutcome(outcome);
    if (outcome.stage == OutcomeStage::Completed && transferred) {
        const std::size_t residual =
            std::clamp<std::size_t>(std::size_t(std::max(outcome.residual, 0)), 0, bufferLength);
        *transferred = bufferLength - residual;
    }
    if (outcome.stage == OutcomeStage::OpenFailed &&
        (outcome.sysError == EACCES || outcome.sysError == EPERM) && !state().groupHintShown) {
        state().groupHintShown = true;
        ReportDiscMessage(DiscMessage::CdromGroup,
                          "Quillon may not open the CD/DVD drive /dev/" + entry->Node +
                              ". Add your user to the \"cdrom\" group, then log out and in again.",
                          "Drive access");
    }
    if (outcome.stage == OutcomeStage::OpenFailed || outcome.stage == OutcomeStage::SendFailed)
        ReportDiscMessage(DiscMessage::Internal, "Command " + std::to_string(cdb[0]) + " to " + entry->Node +
                                                     " failed: " + std::strerror(outcome.sysError));
    return code;
}

int AspiAdapterCount()
{
    // Adapter 0 is always counted, so a machine without drives has one empty adapter.
    std::set<int> adapters{0};
    const TCDDriveTable &table = ProcessDriveTable();
    for (int i = 0; i < std::min<int>(table.Count, kDriveTableSize); ++i)
        if (table.Drives[std::size_t(i)].Valid == 1)
            adapters.insert(table.Drives[std::size_t(i)].HostAdapter);
    return int(adapters.size());
}

std::uint8_t GetDeviceType(TScsiDeviceId id)
{
    const TCDDriveEntry *entry = DriveEntryOf(id);
    return entry ? 5 : 10;
}

int EnumerateDevices(std::uint8_t wantedType, const std::function<bool(TScsiDeviceId)> &callback)
{
    if (AspiAdapterCount() == 0)
        return -1;
    int accepted = 0;
    const TCDDriveTable &table = ProcessDriveTable();
    for (int i = 0; i < std::min<int>(table.Count, kDriveTableSize); ++i) {
        const TCDDriveEntry &e = table.Drives[std::size_t(i)];
        if (e.Valid != 1)
            continue;
        const TScsiDeviceId id = MakeDeviceId(e.HostAdapter, e.Target, e.Lun, 0);
        const std::uint8_t type = GetDeviceType(id);
        if (type != wantedType && !(wantedType == 11 && type < 10))
            continue;
        if (!callback(id))
            break;
        ++accepted;
    }
    return accepted;
}

bool AspiReportsLetters() { return state().aspiReportsLetters; }
void SetAspiReportsLetters() { state().aspiReportsLetters = true; }

} // namespace quillon::disc
