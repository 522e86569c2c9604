#pragma once
// Titles and performers from the raw CD-Text reply (18-byte packs after a 4-byte header).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::disc {

// Fills the album title and performer and the per-track lists (which already hold one
// empty item per track). Texts are single-byte character codes as the disc has them.
// True when any title, performer or message was found.
bool DecodeCdText(const std::uint8_t *reply, std::size_t size, std::string &albumTitle,
                  std::string &albumPerformer, std::vector<std::string> &titles,
                  std::vector<std::string> &performers);

} // namespace quillon::disc
