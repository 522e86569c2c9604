#include "discaccess/DiscInfoReport.h"

#include "discaccess/CDDrives.h"
#include "discaccess/CdText.h"
#include "discaccess/DeviceAccess.h"
#include "discaccess/DriveTable.h"
#include "discaccess/MechanismCommands.h"
#include "discaccess/ModePageCommands.h"
#include "discaccess/TocCommands.h"
#include "discaccess/TrackInfoCommands.h"
#include "discaccess/UnitCommands.h"

#include <cstdio>
#include <string>

namespace quillon::disc {

namespace {

std::string msf(std::uint8_t m, std::uint8_t s, std::uint8_t f)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u:%02u/%02u", m, s, f);
    return text;
}

const char *yesNo(bool value) { return value ? "yes" : "no"; }

void reportDrive(std::ostream &out, const TCDDriveEntry &e)
{
    const TScsiDeviceId id = MakeDeviceId(e.HostAdapter, e.Target, e.Lun, 0);
    TScsiSettings settings = DefaultScsiSettings();
    out << "Drive " << e.Node << " at " << e.RealHost << ":" << e.RealChannel << ":" << e.RealTarget << ":"
        << e.RealLun << ", address " << int(e.HostAdapter) << "," << int(e.Target) << "," << int(e.Lun) << "\n";

    TCDInquiry inquiry;
    const int inquiryCode = Inquiry(id, settings, inquiry);
    out << "  Inquiry (" << inquiryCode << "): " << inquiry.Vendor << " | " << inquiry.Product << " | "
        << inquiry.Revision << ", type " << int(inquiry.DeviceType) << "\n";

    const int ready = TestUnitReady(id, settings);
    out << "  Ready: " << (ready == 0 ? "yes" : "no (" + std::to_string(ready) + ")") << "\n";

    TCDCapabilities caps;
    const int capsCode = ReadCapabilities(id, settings, caps);
    out << "  Capabilities (" << capsCode << "): writes CD-R " << yesNo(caps.has(capWritesCdR)) << ", CD-RW "
        << yesNo(caps.has(capWritesCdRw)) << ", DVD-R " << yesNo(caps.has(capWritesDvdR)) << ", reads CD-Text "
        << yesNo(caps.has(capRwInLeadIn)) << ", multisession " << yesNo(caps.has(capMultisession)) << "\n";

    TCDMechanism mechanism;
    MechanismStatus(id, settings, 0, mechanism);
    out << "  Door: " << ((mechanism.Flags & mfDoorOpen) ? "open" : "closed") << "\n";

    TCDTrackList list;
    const int tocCode = ReadTrackList(id, settings, list);
    out << "  TOC (" << tocCode << "): tracks " << list.FirstTrack << "-" << list.LastTrack << ", "
        << list.EntryCount << " entries\n";
    for (std::uint32_t i = 0; i < list.EntryCount; ++i) {
        const TCDTrackEntry t = list.Entries[i];
        out << "    " << (t.TrackNumber == 0xAA ? std::string("lead-out") : "track " + std::to_string(t.TrackNumber))
            << " at " << t.StartLba << ((t.Flags & tfData) ? " data" : " audio") << "\n";
    }

    TCDSessionInfo sessions;
    const int sessionCode = ReadTocSessions(id, settings, sessions);
    out << "  Sessions (" << sessionCode << "): " << int(sessions.FirstSession) << "-" << int(sessions.LastSession)
        << ", last starts at track " << int(sessions.FirstTrackOfLastSession) << ", LBA " << sessions.StartLba
        << "\n";

    TAtipReply atip;
    const int atipCode = ReadAtip(id, settings, atip);
    if (atipCode == 0)
        out << "  ATIP: lead-in " << msf(atip[8], atip[9], atip[10]) << ", lead-out "
            << msf(atip[12], atip[13], atip[14]) << " (" << atipLeadOut(atip) << " sectors), rewritable "
            << yesNo(atipRewritable(atip)) << "\n";
    else
        out << "  ATIP: none (" << atipCode << ")\n";

    TTrackInfoReply info;
    std::uint32_t nwa = 0;
    if (ReadTrackInfo(id, settings, info) == 0 && nextWritableAddress(info, nwa))
        out << "  Next writable address: " << nwa << "\n";

    TCdTextReply text;
    const int textCode = ReadCdTextData(id, settings, text);
    std::string album, performer;
    const std::size_t tracks = list.LastTrack >= list.FirstTrack && list.LastTrack <= 99
                                   ? list.LastTrack - list.FirstTrack + 1
                                   : 0;
    std::vector<std::string> titles(tracks), performers(tracks);
    if (textCode == 0 && DecodeCdText(text.data(), text.size(), album, performer, titles, performers)) {
        out << "  CD-Text: \"" << album << "\" by \"" << performer << "\"\n";
        for (std::size_t i = 0; i < tracks; ++i)
            out << "    " << (i + 1) << ": \"" << titles[i] << "\" by \"" << performers[i] << "\"\n";
    } else {
        out << "  CD-Text: none (" << textCode << ")\n";
    }
}

} // namespace

int writeDiscInfo(std::ostream &out)
{
    TCDDriveTable &table = ProcessDriveTable();
    std::string error;
    BuildDriveTable(table, TCDInterface::cdiAutoDetect, &error);
    if (!error.empty())
        out << error << "\n";
    if (table.Count == 0) {
        out << "No CD/DVD drive found.\n";
        return 0;
    }
    for (int i = 0; i < table.Count; ++i)
        reportDrive(out, table.Drives[std::size_t(i)]);
    return table.Count;
}

void writeDriveObjects(std::ostream &out, TkseCDDrives &drives, const char *mountInfoFile)
{
    out << "Drive list: " << drives.Count() << " drive(s)\n";
    for (int i = 0; i < drives.Count(); ++i) {
        const DriveReference ref = drives.Reference(i, mountInfoFile);
        TkseCDDrive &d = drives.Drive(i);
        out << ref.letter << ": " << drives.VendorText(i) << " " << drives.ProductText(i) << ", address "
            << d.ScsiAddressText() << ", dev=" << ToolDeviceArgument(ref) << "\n";
        for (const std::string &where : ref.mountPoints)
            out << "  Mounted at " << where << "\n";
        const bool ready = d.IsReady();
        out << "  Ready: " << (ready ? "yes" : "no (" + std::to_string(d.LastError) + ")") << "\n";
        const std::int64_t capacity = d.GetDiscCapacity();
        out << "  Capacity: " << capacity << " sectors (" << int(d.LastError) << ")\n";
        const std::uint32_t lastLba = d.GetLastLba();
        out << "  Last LBA: " << lastLba << " (" << int(d.LastError) << ")\n";
        const TCDSessionInfo s = d.GetSessionInfo();
        const std::uint32_t start = s.StartLba;
        out << "  Session info (" << int(d.LastError) << "): sessions " << int(s.FirstSession) << "-"
            << int(s.LastSession) << ", last starts at track " << int(s.FirstTrackOfLastSession) << ", LBA "
            << start << "\n";
        out << "  Disc: " << discStateName(d.GetDiscState()) << "\n";
    }
}

} // namespace quillon::disc
