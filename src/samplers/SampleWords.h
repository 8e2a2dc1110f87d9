#pragma once
// Sample words handed to a transmitter or returned by a receiver: signed
// 16-bit words for samples of up to 16 bits, signed 32-bit left-justified
// words above (the words-per-frame answer of the transfer says which).
#include <cstdint>

namespace quorvel {

struct SSampleWords {
    SSampleWords() = default;
    SSampleWords(const int16_t* words) : narrow(words) {}
    SSampleWords(const int32_t* words) : wide(words) {}

    const int16_t* narrow = nullptr;
    const int32_t* wide = nullptr;
};

} // namespace quorvel
