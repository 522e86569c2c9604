#include "discaccess/UnitCommands.h"

#include "discaccess/BeReader.h"

namespace quillon::disc {

Cdb testUnitReadyCdb(TScsiDeviceId id) { return cdb6(0x00, id, 0, 0); }

std::uint8_t TestUnitReady(TScsiDeviceId id, TScsiSettings &settings)
{
    return runNoData(id, settings, testUnitReadyCdb(id));
}

Cdb inquiryCdb(TScsiDeviceId id) { return cdb6(0x12, id, 0, std::uint8_t(kInquiryLength)); }

std::string inquiryText(const std::uint8_t *reply, std::size_t transferred, std::size_t offset,
                        std::size_t width)
{
    const BeReader r(reply, transferred);
    std::string text;
    for (std::size_t i = 0; i < width && r.has(offset + i); ++i) {
        const std::uint8_t c = r.u8(offset + i);
        if (c < 32)
            break;
        text.push_back(char(c));
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

TCDInquiry decodeInquiry(const std::uint8_t *reply, std::size_t transferred)
{
    const BeReader r(reply, transferred);
    TCDInquiry q;
    q.Qualifier = r.u8(0) >> 5;
    q.DeviceType = r.u8(0) & 0x1F;
    // Flag bit n from (reply byte, bit).
    static constexpr std::uint8_t kFlagSource[16][2] = {
        {1, 7}, {3, 7}, {3, 5}, {3, 4}, {5, 7}, {7, 1}, {6, 7}, {6, 6},
        {6, 4}, {6, 3}, {7, 7}, {7, 3}, {7, 5}, {6, 0}, {7, 4}, {7, 2},
    };
    for (unsigned n = 0; n < 16; ++n)
        if (r.bit(kFlagSource[n][0], kFlagSource[n][1]))
            q.Flags = std::uint16_t(q.Flags | (1u << n));
    q.AnsiVersion = r.u8(2) & 0x07;
    q.EcmaVersion = (r.u8(2) >> 3) & 0x07;
    q.IsoVersion = r.u8(2) >> 6;
    q.ResponseFormat = r.u8(3) & 0x0F;
    q.Vendor = inquiryText(reply, transferred, 8, 8);
    q.Product = inquiryText(reply, transferred, 16, 16);
    q.Revision = inquiryText(reply, transferred, 32, 4);
    q.VendorSpecific = inquiryText(reply, transferred, 36, 20);
    return q;
}

std::uint8_t Inquiry(TScsiDeviceId id, TScsiSettings &settings, TCDInquiry &inquiry)
{
    std::uint8_t reply[kInquiryLength];
    std::size_t transferred = 0;
    const std::uint8_t code = runDataIn(id, settings, inquiryCdb(id), reply, sizeof reply, &transferred);
    // A failed command decodes its zero-filled buffer: zeros and empty texts.
    inquiry = decodeInquiry(reply, code == errOk ? transferred : sizeof reply);
    return code;
}

} // namespace quillon::disc
