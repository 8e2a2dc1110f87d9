#pragma once
// How numbers travel in the samplers' messages: 6 bits a byte, most
// significant first. A 12-bit value takes 2 bytes, a 24-bit value 4 and a
// 16-bit sample word 3 (4 bits, then 6 and 6).
#include <cstdint>

namespace quorvel::ensoniq {

constexpr int kBytesPer12 = 2;
constexpr int kBytesPer24 = 4;
constexpr int kBytesPerWord = 3;

void Encode12(uint32_t value, uint8_t* dest);
uint32_t Decode12(const uint8_t* src);
void Encode24(uint32_t value, uint8_t* dest);
uint32_t Decode24(const uint8_t* src);
// The word's 16 bits as they are (two's complement).
void EncodeWord(int16_t word, uint8_t* dest);
int16_t DecodeWord(const uint8_t* src);

} // namespace quorvel::ensoniq
