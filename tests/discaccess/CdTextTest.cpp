#include "support/CdTextPacks.h"

#include "discaccess/CdText.h"

#include <gtest/gtest.h>

using namespace quillon::disc;
using namespace quillon::test;

namespace {

struct Decoded {
    bool found;
    std::string album, performer;
    std::vector<std::string> titles, performers;
};

Decoded decode(const std::vector<std::uint8_t> &reply, std::size_t tracks)
{
    Decoded d{false, {}, {}, std::vector<std::string>(tracks), std::vector<std::string>(tracks)};
    d.found = DecodeCdText(reply.data(), reply.size(), d.album, d.performer, d.titles, d.performers);
    return d;
}

} // namespace

TEST(CdTextPacks, CrcIsStoredInverted)
{
    // An all-zero pack has CRC 0, stored as FFFFh.
    const std::uint8_t zeros[16] = {};
    EXPECT_EQ(cdTextCrc(zeros, 16), 0xFFFF);
    const std::uint8_t check[9] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(cdTextCrc(check, 9), std::uint16_t(~0x31C3)) << "CRC-16/XMODEM of \"123456789\" is 31C3h";
}

TEST(CdTextDecode, RoundTripsTitlesAndPerformersWithEmptyOnes)
{
    const struct {
        const char *name;
        CdTextContent content;
    } cases[] = {
        {"all filled", {"Album", "Artist", {"One", "Two", "Three"}, {"A", "B", "C"}, {}}},
        {"empty title in the middle", {"Album", "Artist", {"One", "", "Three"}, {"A", "B", "C"}, {}}},
        {"empty first title and performer", {"Album", "", {"", "Two", "Three"}, {"", "", "C"}, {}}},
        {"titles spanning packs",
         {"An Album Title Longer Than One Pack", "P", {"Twelve chars", "x", "A title of twenty-five ch"}, {}, {}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decode(cdTextReply(buildCdTextPacks(c.content)), 3);
        EXPECT_TRUE(d.found);
        EXPECT_EQ(d.album, c.content.albumTitle);
        EXPECT_EQ(d.performer, c.content.albumPerformer);
        EXPECT_EQ(d.titles, c.content.titles);
        if (!c.content.performers.empty())
            EXPECT_EQ(d.performers, c.content.performers);
    }
}

TEST(CdTextDecode, EdgeCases)
{
    CdTextContent titles{"Album", "", {"One"}, {}, {}};
    EXPECT_FALSE(decode(cdTextReply(buildCdTextPacks(titles, 1)), 1).found)
        << "a first pack with sequence number 1 ends the walk at once";

    CdTextContent message{"", "", {}, {}, {"Hello"}};
    const Decoded onlyMessage = decode(cdTextReply(buildCdTextPacks(message)), 1);
    EXPECT_TRUE(onlyMessage.found) << "a message pack counts as found";
    EXPECT_EQ(onlyMessage.titles[0], "");

    CdTextContent more{"Album", "", {"One", "Two", "Three"}, {}, {}};
    const Decoded fewer = decode(cdTextReply(buildCdTextPacks(more)), 2);
    EXPECT_EQ(fewer.titles, (std::vector<std::string>{"One", "Two"})) << "titles beyond the list are dropped";

    std::vector<std::uint8_t> reply = cdTextReply(buildCdTextPacks(more));
    reply[0] = 0;
    reply[1] = 2 + 18; // the length says one pack: the rest is not read
    const Decoded firstPack = decode(reply, 3);
    EXPECT_EQ(firstPack.album, "Album");
    EXPECT_EQ(firstPack.titles[0], "One");
    EXPECT_EQ(firstPack.titles[1], "") << "\"Two\" ends in the second pack";
    EXPECT_FALSE(decode({0xFF, 0xFF, 0, 0, 0x80}, 1).found) << "a length past the reply";
}
