#include "analysis/Normalize.h"

#include <algorithm>

namespace quorvel {

void Normalize(WAVE_SAMPLE& sample)
{
    BAT& store = sample.Store();
    const auto bytes = static_cast<uint32_t>(sample.Length()) * 2u;
    int32_t peak = 0;
    store.ForEachRun(0, bytes, [&](uint32_t, uint8_t* run, uint32_t length) {
        const auto* values = reinterpret_cast<const int16_t*>(run);
        for (uint32_t i = 0; i < length / 2; ++i)
            peak = std::max(peak, values[i] < 0 ? -int32_t(values[i]) : int32_t(values[i]));
        return true;
    });
    if (peak == 0)
        return;
    const int32_t factor = 0x3FFF8000 / peak;
    if (factor == 32768)
        return;
    store.ForEachRun(0, bytes, [&](uint32_t, uint8_t* run, uint32_t length) {
        auto* values = reinterpret_cast<int16_t*>(run);
        for (uint32_t i = 0; i < length / 2; ++i)
            values[i] = static_cast<int16_t>((values[i] * factor) >> 15);
        return true;
    });
}

} // namespace quorvel
