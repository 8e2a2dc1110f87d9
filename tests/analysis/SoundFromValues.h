#pragma once
// Small hand-made sounds for the analysis tests.
#include <memory>
#include <vector>

#include "document/WaveSample.h"

namespace quorvel::testing {

inline std::unique_ptr<WAVE_SAMPLE> SoundOf(const std::vector<int16_t>& values, int32_t rate = 44100)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("test", rate, static_cast<int32_t>(values.size()));
    sound->Store().CopyIn(0, static_cast<uint32_t>(values.size() * 2), values.data());
    return sound;
}

// `zeros` frames of silence followed by `rest` frames of `level`.
inline std::vector<int16_t> Step(size_t zeros, size_t rest, int16_t level)
{
    std::vector<int16_t> values(zeros + rest, 0);
    std::fill(values.begin() + static_cast<std::ptrdiff_t>(zeros), values.end(), level);
    return values;
}

} // namespace quorvel::testing
