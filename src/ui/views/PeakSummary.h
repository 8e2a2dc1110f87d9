#pragma once
// The coarse copy of a sound that zoomed-out waveforms draw from: one entry
// per 32 frames holding the minimum and maximum of 96 frames, in 8 bits. It
// is built on first need and kept with the sound, so every view of the sound
// shares it.
#include <cstdint>
#include <vector>

#include "document/WaveSample.h"

namespace quorvel {

struct SPeak {
    int8_t minimum = 0;
    int8_t maximum = 0;
    bool operator==(const SPeak&) const = default;
};

class CPeakSummary : public CSampleOverviewCache {
public:
    static constexpr int32_t kFramesPerEntry = 32;
    static constexpr int32_t kFramesPerWindow = 96;

    explicit CPeakSummary(const WAVE_SAMPLE& sound);

    // The sound's summary, built and attached to the sound the first time.
    static const CPeakSummary& Of(WAVE_SAMPLE& sound);

    int32_t Count() const { return static_cast<int32_t>(peaks_.size()); }
    const SPeak& At(int32_t entry) const { return peaks_[static_cast<size_t>(entry)]; }
    // The merged extremes of entries first .. last (inclusive, in range).
    SPeak Merge(int32_t first, int32_t last) const;

private:
    std::vector<SPeak> peaks_;
};

} // namespace quorvel
