// The disc models and drive quirks the emulated drive serves.
#include "CdTextPacks.h"
#include "EmulatedDrive.h"

#include <cstring>

#include "discaccess/BeReader.h"

namespace quillon::test {

using disc::putBe16;

namespace {

constexpr std::uint8_t kData = 0x04;

// A closed first session: lead-out of 6750 sectors, the next lead-in 4500, a 150 pregap.
constexpr std::uint32_t kSessionGap = 11400;

std::vector<EmuTrack> audioTracks(int count, std::uint32_t length)
{
    std::vector<EmuTrack> tracks;
    for (int i = 0; i < count; ++i)
        tracks.push_back({std::uint8_t(i + 1), 0, std::uint32_t(i) * length, 1});
    return tracks;
}

DiscModel recordable(const char *name, bool rewritable)
{
    DiscModel d;
    d.name = name;
    d.hasAtip = true;
    d.rewritable = rewritable;
    d.atipLeadIn = {97, 26, 66};
    d.atipLeadOut = {79, 59, 74};
    return d;
}

} // namespace

std::vector<std::string> pressedAudioTitles()
{
    // Track 5 has no title: the ones after it must stay on their own tracks.
    return {"Overture", "Second Song", "Interlude", "A Longer Title That Spans Several Packs",
            "", "Sixth", "Seventh", "Eighth", "Ninth", "Tenth", "Eleventh", "Finale"};
}

std::vector<std::string> pressedAudioPerformers()
{
    std::vector<std::string> p(12, "The Band");
    p[2] = "";
    p[7] = "Guest";
    return p;
}

namespace discs {

DiscModel none()
{
    DiscModel d;
    d.name = "no disc";
    d.present = false;
    return d;
}

DiscModel withVolumeLabel(DiscModel disc, const std::string &label)
{
    std::vector<std::uint8_t> pvd(2048, 0);
    pvd[0] = 1;
    std::memcpy(&pvd[1], "CD001", 5);
    pvd[6] = 1;
    for (std::size_t i = 0; i < 32; ++i)
        pvd[40 + i] = std::uint8_t(i < label.size() ? label[i] : ' ');
    disc.sectors[16] = pvd;
    return disc;
}

DiscModel blankCdR80()
{
    DiscModel d = recordable("blank 80-minute CD-R", false);
    d.nextWritable = 0;
    return d;
}

DiscModel blankCdRw()
{
    DiscModel d = recordable("blank CD-RW", true);
    d.atipLeadIn = {97, 10, 0};
    d.atipLeadOut = {79, 59, 74};
    d.nextWritable = 0;
    return d;
}

DiscModel pressedAudio12()
{
    DiscModel d;
    d.name = "pressed audio CD, 12 tracks";
    d.tracks = audioTracks(12, 18000);
    d.leadOutLba = 12 * 18000;
    CdTextContent text;
    text.albumTitle = "Emulated Album";
    text.albumPerformer = "The Band";
    text.titles = pressedAudioTitles();
    text.performers = pressedAudioPerformers();
    d.cdTextPacks = buildCdTextPacks(text);
    return d;
}

DiscModel dataCdRom()
{
    DiscModel d;
    d.name = "data CD-ROM";
    d.tracks = {{1, kData, 0, 1}};
    d.leadOutLba = 300000;
    return d;
}

DiscModel cdPlus()
{
    DiscModel d;
    d.name = "CD Plus";
    d.tracks = audioTracks(10, 15000);
    const std::uint32_t dataStart = 10 * 15000 + kSessionGap;
    d.tracks.push_back({11, kData, dataStart, 2});
    d.leadOutLba = dataStart + 40000;
    return d;
}

DiscModel appendableCdR()
{
    DiscModel d = recordable("appendable CD-R", false);
    d.tracks = {{1, kData, 0, 1}};
    d.leadOutLba = 100000;
    d.nextWritable = 100000 + kSessionGap;
    return d;
}

DiscModel closedCdR()
{
    DiscModel d = recordable("closed CD-R", false);
    d.tracks = audioTracks(3, 20000);
    d.leadOutLba = 60000;
    return d;
}

DiscModel blankDvdR()
{
    DiscModel d;
    d.name = "blank DVD-R";
    d.dvd = true;
    d.mediumType = 0x00;
    d.nextWritable = 0;
    return d;
}

DiscModel tocLengthFFFF()
{
    DiscModel d = dataCdRom();
    d.name = "TOC length FFFFh";
    std::vector<std::uint8_t> toc = {0xFF, 0xFF, 1, 1, 0, 0x14, 1, 0, 0, 0, 0, 0, 0, 0x14, 0xAA, 0, 0, 4, 0x93, 0xE0};
    d.raw["toc0"] = toc;
    return d;
}

DiscModel firstTrackAfterLast()
{
    DiscModel d = dataCdRom();
    d.name = "first track after last";
    std::vector<std::uint8_t> toc = {0, 18, 5, 2, 0, 0x14, 5, 0, 0, 0, 0, 0, 0, 0x14, 0xAA, 0, 0, 4, 0x93, 0xE0};
    d.raw["toc0"] = toc;
    return d;
}

} // namespace discs

namespace drives {

DriveModel recorder()
{
    DriveModel m;
    m.page2A.assign(30, 0);
    m.page2A[0] = 0x2A;
    m.page2A[1] = 28;
    m.page2A[2] = 0x07; // reads CD-R, CD-RW, method 2
    m.page2A[3] = 0x07; // writes CD-R, CD-RW, test write
    m.page2A[4] = 0xF1; // underrun protection, multisession, mode 2 forms, audio play
    m.page2A[5] = 0x7F;
    m.page2A[6] = 0x29; // tray, eject, lock
    m.page2A[7] = 0x03;
    putBe16(&m.page2A[8], 7056);
    putBe16(&m.page2A[12], 2048);
    putBe16(&m.page2A[18], 7056);
    return m;
}

DriveModel withBlockDescriptors(std::uint16_t length)
{
    DriveModel m = recorder();
    m.blockDescriptorLength = length;
    return m;
}

DriveModel shortPage2A(std::uint8_t pageLength)
{
    DriveModel m = recorder();
    m.page2A.resize(std::size_t(pageLength) + 2);
    m.page2A[1] = pageLength;
    return m;
}

DriveModel page2ALength(std::uint8_t pageLength)
{
    DriveModel m = recorder();
    m.page2A.resize(std::size_t(pageLength) + 2);
    m.page2A[1] = pageLength;
    for (std::size_t i = 30; i < m.page2A.size(); ++i)
        m.page2A[i] = std::uint8_t(i);
    return m;
}

DriveModel blockDescriptorLengthFFFF()
{
    DriveModel m = recorder();
    m.rawModeSense.assign(391, 0xEE);
    putBe16(m.rawModeSense.data(), 389);
    m.rawModeSense[2] = 0x01;
    putBe16(&m.rawModeSense[6], 0xFFFF);
    return m;
}

} // namespace drives

} // namespace quillon::test
