#pragma once
// Number packing for system-exclusive messages, where every data byte must
// stay below 0x80. Counts are bytes on the wire.
#include <cstdint>

namespace quorvel {

// `count` bytes of 7 bits each, most significant group first.
void EncodeBigEndian7(uint32_t value, int32_t count, uint8_t* dest);
uint32_t DecodeBigEndian7(int32_t count, const uint8_t* src);

// `count` bytes of 4 bits each, most significant group first.
void EncodeBigEndianNibbles(uint32_t value, int32_t count, uint8_t* dest);
uint32_t DecodeBigEndianNibbles(int32_t count, const uint8_t* src);

// 7 bits per byte, least significant group first.
void EncodeLittleEndian7x2(uint8_t* dest, uint32_t value);
void EncodeLittleEndian7x3(uint8_t* dest, uint32_t value);
void EncodeLittleEndian7x4(uint8_t* dest, uint32_t value);
// The bytes are weighted as they are (a byte above 0x7F is not masked).
uint32_t DecodeLittleEndian7x2(const uint8_t* src);
uint32_t DecodeLittleEndian7x3(const uint8_t* src);
uint32_t DecodeLittleEndian7x4(const uint8_t* src);

// Joins the low nibbles of 2 x `count` source bytes into `count` bytes, the
// first of each pair in the high nibble.
void PackNibblePairs(int32_t count, uint8_t* dest, const uint8_t* src);
// Splits `count` bytes into 2 x `count` nibbles, high nibble first.
void UnpackNibblePairs(int32_t count, const uint8_t* src, uint8_t* dest);

// The sum of the bytes, kept to 7 bits.
uint8_t Checksum7Sum(int32_t count, const uint8_t* data);
// The value that brings the sum to 0 modulo 128.
uint8_t Checksum7Negated(int32_t count, const uint8_t* data);
void Mask7(int32_t count, const uint8_t* src, uint8_t* dest);

// a x b / c rounded half away from zero. The product is formed in 64 bits so
// that sizes in bytes times rates do not wrap.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);

} // namespace quorvel
