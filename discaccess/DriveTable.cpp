#include "discaccess/DriveTable.h"

#include "discaccess/BeReader.h"
#include "discaccess/DeviceAccess.h"
#include "discaccess/ScsiTransport.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace quillon::disc {

namespace {

// The probes' own timeouts are a few seconds; the drive may have to spin up first.
constexpr std::uint32_t kProbeTimeoutMs = 20000;

bool usable(TCDInterface iface, std::string *error, const char *text)
{
    if (CurrentTransport().supports(iface))
        return true;
    if (error)
        *error = text;
    return false;
}

// A standard inquiry made of the OS's identity strings, for a drive that would not answer.
void synthesiseInquiry(TCDDriveEntry &e, const DriveLocation &where)
{
    e.Inquiry.fill(0);
    e.Inquiry[0] = 0x05;
    e.Inquiry[1] = 0x80;
    e.Inquiry[4] = 31;
    auto put = [&](std::size_t offset, std::size_t width, const std::string &text) {
        for (std::size_t i = 0; i < width; ++i)
            e.Inquiry[offset + i] = std::uint8_t(i < text.size() ? text[i] : ' ');
    };
    put(8, 8, where.vendor);
    put(16, 16, where.model);
    put(32, 4, where.revision);
}

} // namespace

std::string inquiryField(const std::uint8_t *data, std::size_t size, std::size_t offset, std::size_t width)
{
    std::string text;
    const BeReader r(data, size);
    for (std::size_t i = 0; i < width && r.has(offset + i); ++i) {
        const std::uint8_t c = r.u8(offset + i);
        if (c == 0)
            break;
        text.push_back(char(c));
    }
    return text;
}

bool ReadDriveIdentity(int index, TCDDriveTable &table, TCDInterface iface, std::string *interfaceError)
{
    if (!usable(iface, interfaceError, kNoInterfaceText))
        return false;
    if (index < 0 || index >= std::min<int>(table.Count, kDriveTableSize))
        return false;
    TCDDriveEntry &e = table.Drives[std::size_t(index)];
    const DriveLocation where = LocationOf(e);

    std::uint8_t reply[100] = {};
    const std::uint8_t cdb[6] = {0x12, 0x00, 0x00, 0x00, 0x64, 0x00};
    ScsiRequest request;
    request.cdb = cdb;
    request.cdbLength = sizeof cdb;
    request.direction = ScsiDirection::In;
    request.data = reply;
    request.dataLength = sizeof reply;
    request.timeoutMs = kProbeTimeoutMs;
    ScsiOutcome outcome = CurrentTransport().execute(where, request);
    if (isTransientUnitAttention(outcome))
        outcome = CurrentTransport().execute(where, request);
    const bool answered = codeFromOutcome(outcome) == errOk;

    if (answered) {
        std::memcpy(e.Inquiry.data(), reply, e.Inquiry.size());
        e.Vendor = inquiryField(reply, sizeof reply, 8, 8);
        e.Product = inquiryField(reply, sizeof reply, 16, 16);
        e.Revision = inquiryField(reply, sizeof reply, 32, 4);
        e.VendorSpecific = inquiryField(reply, sizeof reply, 36, 20);
        e.Name = e.Vendor + e.Product + e.Revision;
        return true;
    }
    // The OS still knows who the drive is; a drive busy writing need not answer.
    std::vector<DriveLocation> listed = CurrentTransport().listDrives();
    auto it = std::find_if(listed.begin(), listed.end(), [&](const DriveLocation &d) { return d.node == e.Node; });
    if (it != listed.end() && !(it->vendor.empty() && it->model.empty())) {
        synthesiseInquiry(e, *it);
        e.Vendor = it->vendor;
        e.Product = it->model;
        e.Revision = it->revision;
        e.VendorSpecific.clear();
        e.Name = e.Vendor + e.Product + e.Revision;
        return true;
    }
    e.Name = e.Node;
    return false;
}

bool BuildDriveTable(TCDDriveTable &table, TCDInterface iface, std::string *interfaceError)
{
    if (!usable(iface, interfaceError, kNoSelectedInterfaceText))
        return false;
    table = {};
    ScsiTransport &transport = CurrentTransport();
    const std::vector<DriveLocation> drives = transport.listDrives();
    // Never more entries than the table has room for.
    const std::size_t count = std::min<std::size_t>(drives.size(), kDriveTableSize);
    table.Count = std::uint8_t(count);
    bool allRead = true;
    for (std::size_t i = 0; i < count; ++i) {
        const DriveLocation &d = drives[i];
        TCDDriveEntry &e = table.Drives[i];
        e.HostAdapter = std::uint8_t(transport.addressesByIndex() ? int(i) : d.host);
        e.Target = std::uint8_t(d.target);
        e.Lun = std::uint8_t(d.lun);
        e.Node = d.node;
        e.RealHost = d.host;
        e.RealChannel = d.channel;
        e.RealTarget = d.target;
        e.RealLun = d.lun;
        e.MountPoint = d.mountPoint;
        if (d.node.size() == 1 && std::isalpha(static_cast<unsigned char>(d.node[0])))
            e.Letter = char(std::toupper(static_cast<unsigned char>(d.node[0])));
        e.Valid = 1;
        allRead = ReadDriveIdentity(int(i), table, iface) && allRead;
    }
    return count > 0 && allRead;
}

bool decodeMsfToc(const std::uint8_t *reply, std::size_t transferred, TCDToc &toc)
{
    std::memset(&toc, 0, sizeof toc);
    const BeReader all(reply, transferred);
    // Trust the reply's own length, but never past what arrived.
    const BeReader r = all.sub(0, std::size_t(all.u16(0)) + 2);
    const int first = r.u8(2);
    const int last = r.u8(3);
    if (r.size() < 4 || first > last || (first == 0 && last == 0))
        return false;
    const int descriptors = int((r.size() - 4) / 8);
    // The lead-out descriptor follows the last track and must be there too.
    const int count = std::min({last - first + 1, 100, descriptors - 1});
    if (count <= 0)
        return false;
    toc.TrackCount = std::uint8_t(count);
    for (int i = 0; i < count; ++i) {
        const std::size_t d = 4 + std::size_t(i) * 8;
        toc.Entries[i].Minute = r.u8(d + 5);
        toc.Entries[i].Second = r.u8(d + 6);
        toc.Entries[i].Frame = r.u8(d + 7);
        toc.Entries[i].AudioFlag = (r.u8(d + 1) & 0x04) ? 0u : 0xFFFFFFFFu;
    }
    const std::size_t leadOut = 4 + std::size_t(count) * 8;
    toc.LeadOutMinute = r.u8(leadOut + 5);
    toc.LeadOutSecond = r.u8(leadOut + 6);
    toc.LeadOutFrame = r.u8(leadOut + 7);
    return true;
}

bool ReadTocForDrive(TCDDriveTable &table, int index, TCDToc &toc, TCDInterface iface,
                     std::string *interfaceError)
{
    std::memset(&toc, 0, sizeof toc);
    if (!usable(iface, interfaceError, kNoSelectedInterfaceText))
        return true;
    if (index < 0 || index >= std::min<int>(table.Count, kDriveTableSize))
        return true;
    const TCDDriveEntry &e = table.Drives[std::size_t(index)];
    const DriveLocation where = LocationOf(e);
    ScsiTransport &transport = CurrentTransport();

    std::uint8_t reply[804] = {};
    const std::uint8_t cdb[10] = {0x43, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x24, 0x00};
    ScsiRequest request;
    request.cdb = cdb;
    request.cdbLength = sizeof cdb;
    request.direction = ScsiDirection::In;
    request.data = reply;
    request.dataLength = sizeof reply;
    request.timeoutMs = kProbeTimeoutMs;
    ScsiOutcome outcome = transport.execute(where, request);
    if (isTransientUnitAttention(outcome))
        outcome = transport.execute(where, request);
    if (codeFromOutcome(outcome) == errOk) {
        const std::size_t residual =
            std::min<std::size_t>(std::size_t(std::max(outcome.residual, 0)), sizeof reply);
        return !decodeMsfToc(reply, sizeof reply - residual, toc);
    }
    transport.reportTocFailure(outcome);

    const std::optional<IoctlToc> ioctl = transport.readTocIoctl(where);
    if (!ioctl || (ioctl->firstTrack == 0 && ioctl->lastTrack == 0) || ioctl->firstTrack > ioctl->lastTrack)
        return true;
    const int count = std::min({int(ioctl->lastTrack) - ioctl->firstTrack + 1, 100,
                                int(ioctl->entries.size()) - 1});
    if (count <= 0)
        return true;
    toc.TrackCount = std::uint8_t(count);
    for (int i = 0; i < count; ++i) {
        const IoctlToc::Entry &t = ioctl->entries[std::size_t(i)];
        toc.Entries[i].Minute = t.minute;
        toc.Entries[i].Second = t.second;
        toc.Entries[i].Frame = t.frame;
        toc.Entries[i].AudioFlag = (t.control & 0x04) ? 0u : 0xFFFFFFFFu;
    }
    const IoctlToc::Entry &leadOut = ioctl->entries[std::size_t(count)];
    toc.LeadOutMinute = leadOut.minute;
    toc.LeadOutSecond = leadOut.second;
    toc.LeadOutFrame = leadOut.frame;
    return false;
}

} // namespace quillon::disc
