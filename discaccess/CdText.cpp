#include "discaccess/CdText.h"

#include "discaccess/BeReader.h"

#include <algorithm>

namespace quillon::disc {

namespace {
constexpr std::uint8_t kTitle = 0x80;
constexpr std::uint8_t kPerformer = 0x81;
constexpr std::uint8_t kMessage = 0x85;
constexpr std::size_t kPackSize = 18;
constexpr std::size_t kMaxPacks = 255;
constexpr std::size_t kMaxText = 255;
} // namespace

bool DecodeCdText(const std::uint8_t *reply, std::size_t size, std::string &albumTitle,
                  std::string &albumPerformer, std::vector<std::string> &titles,
                  std::vector<std::string> &performers)
{
    const BeReader arrived(reply, size);
    // Packs only as far as the reply's own length says.
    const BeReader r = arrived.sub(0, std::size_t(arrived.u16(0)) + 2);
    const std::size_t packs = std::min(kMaxPacks, r.size() >= 4 ? (r.size() - 4) / kPackSize : 0);
    std::string text;
    std::size_t track = 0;
    bool found = false;
    for (std::size_t i = 0; i < packs; ++i) {
        const std::size_t pack = 4 + i * kPackSize;
        if (r.u8(pack + 2) != i)
            break;
        const std::uint8_t type = r.u8(pack);
        if (type != kTitle && type != kPerformer && type != kMessage)
            continue;
        track = r.u8(pack + 1);
        for (std::size_t k = 4; k < 16; ++k) {
            const std::uint8_t c = r.u8(pack + k);
            if (c != 0) {
                if (text.size() < kMaxText)
                    text.push_back(char(c));
                continue;
            }
            if (type == kMessage) {
                found = true;
            } else {
                std::string &album = type == kTitle ? albumTitle : albumPerformer;
                std::vector<std::string> &list = type == kTitle ? titles : performers;
                // An empty string still belongs to its track: the next one is for track + 1.
                if (!text.empty()) {
                    found = true;
                    if (track == 0)
                        album = text;
                    else if (track - 1 < list.size())
                        list[track - 1] = text;
                }
            }
            ++track;
            text.clear();
        }
    }
    return found;
}

} // namespace quillon::disc
