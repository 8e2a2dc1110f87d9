#pragma once
// The AKAI character set: names of 12 characters, each a code from 0 to 40
// into "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ#+-.".
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel::akai {

constexpr int32_t kNameLength = 12;
constexpr uint8_t kSpaceCode = 10;

// Upper case first; anything outside the alphabet becomes a space.
uint8_t CharacterCode(char c);
// Codes from 41 up read as a space.
char CodeCharacter(uint8_t code);

// The first 12 characters of `name` as codes, padded with spaces.
void EncodeName(std::string_view name, uint8_t* codes);
// 12 codes as text, trailing spaces kept.
std::string DecodeName(const uint8_t* codes);
// What the sampler keeps of `name`: 12 characters through the set and back,
// trailing spaces removed.
std::string AKAIName(std::string_view name);

} // namespace quorvel::akai
