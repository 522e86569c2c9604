#include "CdTextPacks.h"

namespace quillon::test {

std::uint16_t cdTextCrc(const std::uint8_t *bytes, std::size_t count)
{
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < count; ++i) {
        crc = std::uint16_t(crc ^ (bytes[i] << 8));
        for (int bit = 0; bit < 8; ++bit)
            crc = std::uint16_t((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return std::uint16_t(~crc);
}

namespace {

struct Stream {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> trackOf; // the track each byte's string belongs to
    std::vector<std::uint8_t> positionOf; // how far into its string the byte lies
};

void addString(Stream &s, std::uint8_t track, const std::string &text)
{
    for (std::size_t i = 0; i <= text.size(); ++i) {
        s.bytes.push_back(i < text.size() ? std::uint8_t(text[i]) : 0);
        s.trackOf.push_back(track);
        s.positionOf.push_back(std::uint8_t(i));
    }
}

void emit(std::vector<std::uint8_t> &out, int &sequence, std::uint8_t type, const Stream &s)
{
    for (std::size_t at = 0; at < s.bytes.size(); at += 12) {
        std::uint8_t pack[18] = {};
        pack[0] = type;
        pack[1] = s.trackOf[at];
        pack[2] = std::uint8_t(sequence++);
        pack[3] = std::uint8_t(s.positionOf[at] > 15 ? 15 : s.positionOf[at]);
        for (std::size_t k = 0; k < 12 && at + k < s.bytes.size(); ++k)
            pack[4 + k] = s.bytes[at + k];
        const std::uint16_t crc = cdTextCrc(pack, 16);
        pack[16] = std::uint8_t(crc >> 8);
        pack[17] = std::uint8_t(crc);
        out.insert(out.end(), pack, pack + 18);
    }
}

} // namespace

std::vector<std::uint8_t> buildCdTextPacks(const CdTextContent &c, int firstSequence)
{
    std::vector<std::uint8_t> out;
    int sequence = firstSequence;
    auto listStream = [](const std::string &album, const std::vector<std::string> &tracks) {
        Stream s;
        addString(s, 0, album);
        for (std::size_t i = 0; i < tracks.size(); ++i)
            addString(s, std::uint8_t(i + 1), tracks[i]);
        return s;
    };
    if (!c.albumTitle.empty() || !c.titles.empty())
        emit(out, sequence, 0x80, listStream(c.albumTitle, c.titles));
    if (!c.albumPerformer.empty() || !c.performers.empty())
        emit(out, sequence, 0x81, listStream(c.albumPerformer, c.performers));
    if (!c.messages.empty()) {
        Stream s;
        for (const std::string &m : c.messages)
            addString(s, 0, m);
        emit(out, sequence, 0x85, s);
    }
    // A size-information pack, which the decoder skips.
    Stream size;
    size.bytes.assign(12, 0);
    size.trackOf.assign(12, 0);
    size.positionOf.assign(12, 0);
    emit(out, sequence, 0x8F, size);
    return out;
}

std::vector<std::uint8_t> cdTextReply(const std::vector<std::uint8_t> &packs)
{
    std::vector<std::uint8_t> reply(4);
    const std::size_t length = packs.size() + 2;
    reply[0] = std::uint8_t(length >> 8);
    reply[1] = std::uint8_t(length);
    reply.insert(reply.end(), packs.begin(), packs.end());
    return reply;
}

} // namespace quillon::test
