#include "EmulatedDrive.h"

#include "discaccess/BeReader.h"

#include <algorithm>
#include <cstring>

namespace quillon::test {

using namespace quillon::disc;

namespace {

// Which bits each CDB byte may carry, LUN bits excluded; everything else is reserved.
struct Layout {
    std::uint8_t length;
    std::array<std::uint8_t, 12> allowed;
};

const Layout *layoutOf(std::uint8_t opcode)
{
    static const std::map<std::uint8_t, Layout> layouts = {
        {0x00, {6, {0xFF, 0x00, 0, 0, 0, 0}}},                      // TEST UNIT READY
        {0x12, {6, {0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0}}},             // INQUIRY
        {0x1B, {6, {0xFF, 0x01, 0, 0x0F, 0xF3, 0}}},                // START STOP UNIT
        {0x1E, {6, {0xFF, 0x00, 0, 0, 0x03, 0}}},                   // PREVENT ALLOW
        {0x25, {10, {0xFF, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}}},         // READ CAPACITY
        {0x28, {10, {0xFF, 0x18, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0}}}, // READ (10)
        {0x43, {10, {0xFF, 0x02, 0x0F, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}}}, // READ TOC/PMA/ATIP
        {0x52, {10, {0xFF, 0x03, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0}}}, // READ TRACK INFORMATION
        {0x5A, {10, {0xFF, 0x18, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0}}}, // MODE SENSE (10)
        {0xBD, {12, {0xFF, 0x00, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0}}}, // MECHANISM STATUS
    };
    auto it = layouts.find(opcode);
    return it == layouts.end() ? nullptr : &it->second;
}

std::size_t groupLength(std::uint8_t opcode)
{
    switch (opcode >> 5) {
    case 0: return 6;
    case 1:
    case 2: return 10;
    case 4: return 16;
    case 5: return 12;
    default: return 0;
    }
}

std::size_t allocationLength(const std::uint8_t *cdb, std::size_t length)
{
    const BeReader r(cdb, length);
    switch (cdb[0]) {
    case 0x12: return r.u16(3);
    case 0x25: return 8;
    case 0x28: return std::size_t(r.u16(7)) * 2048;
    case 0x43:
    case 0x52:
    case 0x5A: return r.u16(7);
    case 0xBD: return r.u16(8);
    default: return 0;
    }
}

void msf(std::uint8_t *p, std::uint32_t lba)
{
    const std::uint32_t a = lba + 150;
    p[0] = 0;
    p[1] = std::uint8_t(a / 4500);
    p[2] = std::uint8_t(a / 75 % 60);
    p[3] = std::uint8_t(a % 75);
}

} // namespace

EmulatedDrive::EmulatedDrive()
{
    location.host = 0;
    location.node = "sr0";
    location.vendor = "QUILLON";
    location.model = "EMU CD-RW";
    location.revision = "1.00";
    drive = drives::recorder();
    insert(discs::none());
    m_unitAttention.reset();
}

void EmulatedDrive::insert(const DiscModel &disc)
{
    m_disc = disc;
    m_trayOpen = false;
    if (disc.present)
        m_unitAttention = std::make_pair(std::uint8_t(0x28), std::uint8_t(0x00));
}

void EmulatedDrive::openTray() { m_trayOpen = true; }

void EmulatedDrive::closeTray()
{
    if (m_trayOpen && m_disc.present)
        m_unitAttention = std::make_pair(std::uint8_t(0x28), std::uint8_t(0x00));
    m_trayOpen = false;
}

EmulatedDrive::Answer EmulatedDrive::check(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq)
{
    Answer a;
    a.status = statusCheckCondition;
    a.sense = {key, asc, ascq};
    return a;
}

bool EmulatedDrive::mediumReady(Answer &failure)
{
    if (m_trayOpen || !m_disc.present) {
        failure = check(0x02, 0x3A, m_trayOpen ? 0x02 : 0x01);
        return false;
    }
    if (m_becomingReady > 0) {
        --m_becomingReady;
        failure = check(0x02, 0x04, 0x01);
        return false;
    }
    return true;
}

std::vector<std::uint8_t> EmulatedDrive::tocReply(bool inMsf) const
{
    if (auto it = m_disc.raw.find("toc0"); it != m_disc.raw.end())
        return it->second;
    std::vector<std::uint8_t> r(4);
    r[2] = m_disc.tracks.front().number;
    r[3] = m_disc.tracks.back().number;
    auto descriptor = [&](std::uint8_t track, std::uint8_t control, std::uint32_t lba) {
        std::uint8_t d[8] = {0, std::uint8_t(0x10 | control), track, 0};
        if (inMsf)
            msf(d + 4, lba);
        else
            putBe32(d + 4, lba);
        r.insert(r.end(), d, d + 8);
    };
    for (const EmuTrack &t : m_disc.tracks)
        descriptor(t.number, t.control, t.startLba);
    descriptor(0xAA, m_disc.tracks.back().control, m_disc.leadOutLba);
    putBe16(r.data(), std::uint32_t(r.size() - 2));
    return r;
}

EmulatedDrive::Answer EmulatedDrive::answer(const std::uint8_t *cdb, std::size_t length, ScsiDirection direction)
{
    const std::uint8_t op = cdb[0];
    const Layout *layout = layoutOf(op);
    if (!layout)
        return check(0x05, 0x20, 0x00);
    if (strict) {
        if (length != groupLength(op) || length != layout->length)
            return check(0x05, 0x24, 0x00);
        if ((cdb[1] >> 5) != (location.lun & 7))
            return check(0x05, 0x25, 0x00);
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint8_t bits = i == 1 ? std::uint8_t(cdb[1] & 0x1F) : cdb[i];
            if (bits & ~layout->allowed[i])
                return check(0x05, 0x24, 0x00);
        }
        const bool wantsData = op != 0x00 && op != 0x1B && op != 0x1E;
        if ((direction == ScsiDirection::In) != wantsData)
            return check(0x05, 0x24, 0x00);
    }
    // A unit attention is reported once, to the first command after it arose; INQUIRY
    // does not see it.
    if (m_unitAttention && op != 0x12) {
        const auto [asc, ascq] = *m_unitAttention;
        m_unitAttention.reset();
        return check(0x06, asc, ascq);
    }

    Answer a;
    const BeReader c(cdb, length);
    auto raw = [&](const char *name) -> const std::vector<std::uint8_t> * {
        auto it = m_disc.raw.find(name);
        return it == m_disc.raw.end() ? nullptr : &it->second;
    };
    switch (op) {
    case 0x00:
        mediumReady(a);
        return a;
    case 0x12: {
        a.data.assign(56, 0);
        a.data[0] = 0x05;
        a.data[1] = 0x80;
        a.data[2] = 0x00;
        a.data[3] = 0x32;
        a.data[4] = 51;
        a.data[7] = 0x10; // synchronous transfer
        auto put = [&](std::size_t at, std::size_t width, const std::string &text) {
            for (std::size_t i = 0; i < width; ++i)
                a.data[at + i] = std::uint8_t(i < text.size() ? text[i] : ' ');
        };
        put(8, 8, drive.vendor);
        put(16, 16, drive.product);
        put(32, 4, drive.revision);
        put(36, 20, drive.vendorSpecific);
        return a;
    }
    case 0x1B: {
        const bool loadEject = c.bit(4, 1);
        const bool start = c.bit(4, 0);
        if (loadEject && !start) {
            if (m_locked)
                return check(0x05, 0x53, 0x02);
            openTray();
        } else if (loadEject && start) {
            closeTray();
        }
        return a;
    }
    case 0x1E:
        m_locked = c.bit(4, 0);
        return a;
    case 0x5A: {
        if (!drive.rawModeSense.empty()) {
            a.data = drive.rawModeSense;
            return a;
        }
        if ((cdb[2] & 0x3F) != 0x2A)
            return check(0x05, 0x24, 0x00);
        a.data.assign(8 + drive.blockDescriptorLength, 0);
        a.data[2] = m_trayOpen ? 0x71 : (m_disc.present ? m_disc.mediumType : 0x70);
        putBe16(&a.data[6], drive.blockDescriptorLength);
        a.data.insert(a.data.end(), drive.page2A.begin(), drive.page2A.end());
        putBe16(a.data.data(), std::uint32_t(a.data.size() - 2));
        return a;
    }
    case 0xBD: {
        if (const auto *r = raw("mechanism")) {
            a.data = *r;
            return a;
        }
        a.data.assign(8, 0);
        if (m_trayOpen)
            a.data[1] |= 0x10;
        return a;
    }
    default:
        break;
    }

    // Commands that need the medium.
    if (!mediumReady(a))
        return a;
    switch (op) {
    case 0x25: {
        if (const auto *r = raw("capacity")) {
            a.data = *r;
            return a;
        }
        a.data.assign(8, 0);
        putBe32(&a.data[0], m_disc.tracks.empty() ? 0 : m_disc.leadOutLba - 1);
        putBe32(&a.data[4], 2048);
        return a;
    }
    case 0x52: {
        if (const auto *r = raw("trackinfo")) {
            a.data = *r;
            return a;
        }
        if (c.u8(1) != 0x01 || c.u32(2) != 0xFF || !m_disc.nextWritable)
            return check(0x05, 0x24, 0x00);
        a.data.assign(36, 0);
        putBe16(a.data.data(), 34);
        a.data[2] = std::uint8_t(m_disc.tracks.empty() ? 1 : m_disc.tracks.back().number + 1);
        a.data[3] = std::uint8_t(m_disc.tracks.empty() ? 1 : m_disc.tracks.back().session + 1);
        a.data[6] = 0x40; // blank
        a.data[7] = 0x01; // next writable address valid
        putBe32(&a.data[8], *m_disc.nextWritable);
        putBe32(&a.data[12], *m_disc.nextWritable);
        return a;
    }
    case 0x28: {
        // Data sectors of the first track; what the model does not hold reads as zeros.
        const std::uint32_t lba = c.u32(2);
        const std::uint16_t blocks = c.u16(7);
        if (m_disc.tracks.empty() || (m_disc.tracks.front().control & 0x04) == 0)
            return check(0x05, 0x64, 0x00); // illegal mode for this track
        if (std::uint64_t(lba) + blocks > m_disc.leadOutLba)
            return check(0x05, 0x21, 0x00);
        a.data.assign(std::size_t(blocks) * 2048, 0);
        for (std::uint16_t i = 0; i < blocks; ++i) {
            auto it = m_disc.sectors.find(lba + i);
            if (it != m_disc.sectors.end())
                std::memcpy(&a.data[std::size_t(i) * 2048], it->second.data(), std::min<std::size_t>(2048, it->second.size()));
        }
        return a;
    }
    case 0x43:
        break;
    default:
        return check(0x05, 0x20, 0x00);
    }

    const unsigned format = c.u8(2) & 0x0F;
    const bool inMsf = c.bit(1, 1);
    switch (format) {
    case 0:
        if (raw("toc0")) {
            a.data = *raw("toc0");
            return a;
        }
        if (m_disc.tracks.empty())
            return check(0x05, 0x24, 0x00);
        a.data = tocReply(inMsf);
        return a;
    case 1: {
        if (const auto *r = raw("sessions")) {
            a.data = *r;
            return a;
        }
        if (m_disc.tracks.empty())
            return check(0x05, 0x24, 0x00);
        const std::uint8_t last = m_disc.tracks.back().session;
        const EmuTrack &first = *std::find_if(m_disc.tracks.begin(), m_disc.tracks.end(),
                                              [&](const EmuTrack &t) { return t.session == last; });
        a.data.assign(12, 0);
        putBe16(a.data.data(), 10);
        a.data[2] = 1;
        a.data[3] = last;
        a.data[5] = std::uint8_t(0x10 | first.control);
        a.data[6] = first.number;
        putBe32(&a.data[8], first.startLba);
        return a;
    }
    case 4: {
        if (const auto *r = raw("atip")) {
            a.data = *r;
            return a;
        }
        if (!m_disc.hasAtip)
            return check(0x05, 0x24, 0x00);
        a.data.assign(28, 0);
        putBe16(a.data.data(), 26);
        a.data[4] = 0x50; // writing power 5
        a.data[5] = 0x00;
        a.data[6] = std::uint8_t(0x80 | (m_disc.rewritable ? 0x40 : 0));
        std::copy(m_disc.atipLeadIn.begin(), m_disc.atipLeadIn.end(), a.data.begin() + 8);
        std::copy(m_disc.atipLeadOut.begin(), m_disc.atipLeadOut.end(), a.data.begin() + 12);
        a.data[16] = 0x12, a.data[17] = 0x34, a.data[18] = 0x56;
        return a;
    }
    case 5: {
        if (const auto *r = raw("cdtext")) {
            a.data = *r;
            return a;
        }
        if (m_disc.cdTextPacks.empty())
            return check(0x05, 0x24, 0x00);
        a.data.assign(4, 0);
        a.data.insert(a.data.end(), m_disc.cdTextPacks.begin(), m_disc.cdTextPacks.end());
        putBe16(a.data.data(), std::uint32_t(a.data.size() - 2));
        return a;
    }
    default:
        return check(0x05, 0x24, 0x00);
    }
}

ScsiOutcome EmulatedDrive::execute(const DriveLocation &, const ScsiRequest &request)
{
    LoggedCommand entry{std::vector<std::uint8_t>(request.cdb, request.cdb + request.cdbLength), request.direction,
                        request.dataLength, 0, {}};
    ScsiOutcome outcome;
    if (auto fault = m_faults.find(request.cdb[0]); fault != m_faults.end()) {
        outcome.hostStatus = fault->second == Fault::Timeout ? hostTimeOut
                             : fault->second == Fault::Abort ? hostAbort
                                                             : hostReset;
        m_faults.erase(fault);
        m_log.push_back(entry);
        return outcome;
    }
    const Answer a = answer(request.cdb, request.cdbLength, request.direction);
    outcome.scsiStatus = a.status;
    if (a.status == statusCheckCondition) {
        outcome.sense[0] = 0x70;
        outcome.sense[2] = a.sense[0];
        outcome.sense[7] = 10;
        outcome.sense[12] = a.sense[1];
        outcome.sense[13] = a.sense[2];
        outcome.senseLength = 18;
        entry.sense = a.sense;
        outcome.residual = std::int32_t(request.dataLength);
        m_log.push_back(entry);
        return outcome;
    }
    const std::size_t allocation = allocationLength(request.cdb, request.cdbLength);
    const std::size_t buffer = request.direction == ScsiDirection::In ? request.dataLength : 0;
    if (allocation > buffer && a.data.size() > buffer)
        m_overruns.push_back("opcode " + std::to_string(request.cdb[0]) + ": allocation " +
                             std::to_string(allocation) + " and reply " + std::to_string(a.data.size()) +
                             " exceed the buffer of " + std::to_string(buffer));
    std::size_t n = 0;
    if (mode == TransferMode::Exact) {
        n = std::min({buffer, allocation, a.data.size()});
        outcome.residual = std::int32_t(request.dataLength - n);
    } else {
        n = std::min(buffer, allocation);
        outcome.residual = 0; // like the drives that pad: nothing reported
    }
    if (n > 0) {
        const std::size_t real = std::min(n, a.data.size());
        std::memcpy(request.data, a.data.data(), real);
        std::memset(request.data + real, 0, n - real);
    }
    entry.transferred = n;
    m_log.push_back(entry);
    return outcome;
}

std::optional<DoorState> EmulatedDrive::doorState(const DriveLocation &)
{
    if (!ioctlFace)
        return std::nullopt;
    if (m_trayOpen)
        return DoorState::TrayOpen;
    return m_disc.present ? DoorState::DiscPresent : DoorState::NoDisc;
}

std::optional<std::uint8_t> EmulatedDrive::moveTray(const DriveLocation &, bool load)
{
    if (!ioctlFace)
        return std::nullopt;
    if (!load && (!location.mountPoint.empty() || m_locked))
        return std::uint8_t(errDriveInUse);
    if (load)
        closeTray();
    else
        openTray();
    return std::uint8_t(errOk);
}

std::optional<IoctlToc> EmulatedDrive::readTocIoctl(const DriveLocation &)
{
    if (!ioctlFace || m_trayOpen || !m_disc.present || m_disc.tracks.empty())
        return std::nullopt;
    IoctlToc toc;
    toc.firstTrack = m_disc.tracks.front().number;
    toc.lastTrack = m_disc.tracks.back().number;
    auto add = [&](std::uint8_t track, std::uint8_t control, std::uint32_t lba) {
        std::uint8_t m[4];
        msf(m, lba);
        toc.entries.push_back({track, control, m[1], m[2], m[3]});
    };
    for (const EmuTrack &t : m_disc.tracks)
        add(t.number, t.control, t.startLba);
    add(0xAA, m_disc.tracks.back().control, m_disc.leadOutLba);
    return toc;
}

} // namespace quillon::test
