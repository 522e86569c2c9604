#pragma once
// Builds CD-Text packs as a disc carries them: 18 bytes each, CRC-16 (polynomial 1021h,
// initial value 0) stored inverted. Plain C++ so any test program can use it.
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

std::uint16_t cdTextCrc(const std::uint8_t *bytes, std::size_t count);

struct CdTextContent {
    std::string albumTitle;
    std::string albumPerformer;
    std::vector<std::string> titles;     // one per track, may be empty
    std::vector<std::string> performers; // one per track, may be empty
    std::vector<std::string> messages;   // type 85h, album level
};

// The packs only, sequence numbers from firstSequence on.
std::vector<std::uint8_t> buildCdTextPacks(const CdTextContent &content, int firstSequence = 0);
// A READ TOC format 5 reply: data length, two reserved bytes, the packs.
std::vector<std::uint8_t> cdTextReply(const std::vector<std::uint8_t> &packs);

} // namespace quillon::test
