#pragma once
// The six time signatures the document offers, by popup index.
#include <array>
#include <cstdint>

namespace quorvel {

constexpr int kTimeSignatureCount = 6;
constexpr int kDefaultTimeSignature = 2; // 4/4
constexpr int32_t kTicksPerWholeNote = 3840;

struct TimeSignature {
    int32_t numerator;
    int32_t denominator;
};

constexpr std::array<TimeSignature, kTimeSignatureCount> kTimeSignatures{
    {{2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 8}, {7, 8}}};

// Index of numerator/denominator; any other pair gives 0 (2/4).
constexpr int TimeSignatureIndex(int32_t numerator, int32_t denominator)
{
    for (int i = 0; i < kTimeSignatureCount; ++i)
        if (kTimeSignatures[static_cast<size_t>(i)].numerator == numerator &&
            kTimeSignatures[static_cast<size_t>(i)].denominator == denominator)
            return i;
    return 0;
}

// (bars x numerator + beats) x (3840 / denominator).
constexpr int32_t LoopLengthInTicks(int32_t bars, int32_t beats, TimeSignature signature)
{
    return (bars * signature.numerator + beats) * (kTicksPerWholeNote / signature.denominator);
}

} // namespace quorvel
