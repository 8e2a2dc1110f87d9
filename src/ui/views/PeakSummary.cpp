#include "ui/views/PeakSummary.h"

#include <algorithm>

namespace quorvel {

namespace {

struct SBlock {
    int16_t minimum = INT16_MAX;
    int16_t maximum = INT16_MIN;
};

// Extremes of each run of 32 frames, reading the store page by page; the last
// block may be partial.
std::vector<SBlock> BlockExtremes(const WAVE_SAMPLE& sound)
{
    const int32_t length = sound.Length();
    std::vector<SBlock> blocks(static_cast<size_t>((length + CPeakSummary::kFramesPerEntry - 1) /
                                                   CPeakSummary::kFramesPerEntry));
    const BAT& store = sound.Store();
    int32_t frame = 0;
    static_assert(BAT::kPageValues % CPeakSummary::kFramesPerEntry == 0, "blocks never straddle pages");
    for (uint32_t page = 0; frame < length; ++page) {
        const int16_t* values = store.Page(page);
        const int32_t inPage = std::min<int32_t>(BAT::kPageValues, length - frame);
        // Whole blocks at a time: a tight loop the compiler turns into
        // vector minimum and maximum instructions.
        for (int32_t start = 0; start < inPage; start += CPeakSummary::kFramesPerEntry) {
            const int32_t end = std::min(start + CPeakSummary::kFramesPerEntry, inPage);
            int16_t minimum = INT16_MAX;
            int16_t maximum = INT16_MIN;
            for (int32_t i = start; i < end; ++i) {
                minimum = std::min(minimum, values[i]);
                maximum = std::max(maximum, values[i]);
            }
            blocks[static_cast<size_t>((frame + start) / CPeakSummary::kFramesPerEntry)] = {minimum, maximum};
        }
        frame += inPage;
    }
    return blocks;
}

} // namespace

CPeakSummary::CPeakSummary(const WAVE_SAMPLE& sound)
{
    const int32_t count = sound.Length() / kFramesPerEntry;
    if (count == 0)
        return;
    const std::vector<SBlock> blocks = BlockExtremes(sound);
    constexpr int32_t kBlocksPerWindow = kFramesPerWindow / kFramesPerEntry;
    peaks_.resize(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
        int16_t minimum = INT16_MAX;
        int16_t maximum = INT16_MIN;
        const int32_t last = std::min<int32_t>(k + kBlocksPerWindow, static_cast<int32_t>(blocks.size()));
        for (int32_t b = k; b < last; ++b) {
            minimum = std::min(minimum, blocks[static_cast<size_t>(b)].minimum);
            maximum = std::max(maximum, blocks[static_cast<size_t>(b)].maximum);
        }
        // Integer division truncates toward zero, as the 8-bit values must.
        peaks_[static_cast<size_t>(k)] = {static_cast<int8_t>(minimum / 256), static_cast<int8_t>(maximum / 256)};
    }
}

const CPeakSummary& CPeakSummary::Of(WAVE_SAMPLE& sound)
{
    if (auto* summary = dynamic_cast<CPeakSummary*>(sound.OverviewCache()))
        return *summary;
    auto summary = std::make_unique<CPeakSummary>(sound);
    const CPeakSummary& kept = *summary;
    sound.SetOverviewCache(std::move(summary));
    return kept;
}

SPeak CPeakSummary::Merge(int32_t first, int32_t last) const
{
    SPeak merged{INT8_MAX, INT8_MIN};
    for (int32_t k = first; k <= last; ++k) {
        merged.minimum = std::min(merged.minimum, peaks_[static_cast<size_t>(k)].minimum);
        merged.maximum = std::max(merged.maximum, peaks_[static_cast<size_t>(k)].maximum);
    }
    return merged;
}

} // namespace quorvel
