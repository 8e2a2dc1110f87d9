#include "samplers/ensoniq/EnsoniqEncoding.h"

namespace quorvel::ensoniq {

void Encode12(uint32_t value, uint8_t* dest)
{
    dest[0] = static_cast<uint8_t>((value >> 6) & 0x3F);
    dest[1] = static_cast<uint8_t>(value & 0x3F);
}

uint32_t Decode12(const uint8_t* src) { return (uint32_t(src[0] & 0x3F) << 6) | (src[1] & 0x3F); }

void Encode24(uint32_t value, uint8_t* dest)
{
    Encode12(value >> 12, dest);
    Encode12(value & 0xFFF, dest + 2);
}

uint32_t Decode24(const uint8_t* src) { return (Decode12(src) << 12) | Decode12(src + 2); }

void EncodeWord(int16_t word, uint8_t* dest)
{
    const auto bits = static_cast<uint16_t>(word);
    dest[0] = static_cast<uint8_t>((bits >> 12) & 0x0F);
    dest[1] = static_cast<uint8_t>((bits >> 6) & 0x3F);
    dest[2] = static_cast<uint8_t>(bits & 0x3F);
}

int16_t DecodeWord(const uint8_t* src)
{
    const auto bits = static_cast<uint16_t>(((src[0] & 0x0F) << 12) | ((src[1] & 0x3F) << 6) | (src[2] & 0x3F));
    return static_cast<int16_t>(bits);
}

} // namespace quorvel::ensoniq
