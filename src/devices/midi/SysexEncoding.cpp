#include "devices/midi/SysexEncoding.h"

namespace quorvel {

namespace {

void EncodeGroups(uint32_t value, int32_t count, uint8_t* dest, int shift, uint32_t mask)
{
    for (int32_t i = count - 1; i >= 0; --i) {
        dest[i] = static_cast<uint8_t>(value & mask);
        value >>= shift;
    }
}

uint32_t DecodeGroups(int32_t count, const uint8_t* src, int shift, uint32_t mask)
{
    uint32_t value = 0;
    for (int32_t i = 0; i < count; ++i)
        value = (value << shift) | (src[i] & mask);
    return value;
}

void EncodeLittle(uint8_t* dest, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) {
        dest[i] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    }
}

uint32_t DecodeLittle(const uint8_t* src, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value * 128 + src[i];
    return value;
}

uint32_t Sum(int32_t count, const uint8_t* data)
{
    uint32_t sum = 0;
    for (int32_t i = 0; i < count; ++i)
        sum += data[i];
    return sum;
}

} // namespace

void EncodeBigEndian7(uint32_t value, int32_t count, uint8_t* dest) { EncodeGroups(value, count, dest, 7, 0x7F); }
uint32_t DecodeBigEndian7(int32_t count, const uint8_t* src) { return DecodeGroups(count, src, 7, 0x7F); }
void EncodeBigEndianNibbles(uint32_t value, int32_t count, uint8_t* dest) { EncodeGroups(value, count, dest, 4, 0x0F); }
uint32_t DecodeBigEndianNibbles(int32_t count, const uint8_t* src) { return DecodeGroups(count, src, 4, 0x0F); }

void EncodeLittleEndian7x2(uint8_t* dest, uint32_t value) { EncodeLittle(dest, value, 2); }
void EncodeLittleEndian7x3(uint8_t* dest, uint32_t value) { EncodeLittle(dest, value, 3); }
void EncodeLittleEndian7x4(uint8_t* dest, uint32_t value) { EncodeLittle(dest, value, 4); }
uint32_t DecodeLittleEndian7x2(const uint8_t* src) { return DecodeLittle(src, 2); }
uint32_t DecodeLittleEndian7x3(const uint8_t* src) { return DecodeLittle(src, 3); }
uint32_t DecodeLittleEndian7x4(const uint8_t* src) { return DecodeLittle(src, 4); }

void PackNibblePairs(int32_t count, uint8_t* dest, const uint8_t* src)
{
    for (int32_t i = 0; i < count; ++i)
        dest[i] = static_cast<uint8_t>((src[2 * i] & 0x0F) * 16 + (src[2 * i + 1] & 0x0F));
}

void UnpackNibblePairs(int32_t count, const uint8_t* src, uint8_t* dest)
{
    for (int32_t i = 0; i < count; ++i) {
        dest[2 * i] = static_cast<uint8_t>(src[i] >> 4);
        dest[2 * i + 1] = static_cast<uint8_t>(src[i] & 0x0F);
    }
}

uint8_t Checksum7Sum(int32_t count, const uint8_t* data) { return static_cast<uint8_t>(Sum(count, data) & 0x7F); }

uint8_t Checksum7Negated(int32_t count, const uint8_t* data)
{
    return static_cast<uint8_t>((0u - Sum(count, data)) & 0x7F);
}

void Mask7(int32_t count, const uint8_t* src, uint8_t* dest)
{
    for (int32_t i = 0; i < count; ++i)
        dest[i] = static_cast<uint8_t>(src[i] & 0x7F);
}

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c)
{
    const int64_t product = int64_t{a} * b;
    const int64_t half = c / 2;
    return static_cast<int32_t>(a >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace quorvel
