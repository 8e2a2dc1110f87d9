#include "analysis/Resample.h"

#include <algorithm>

#include "analysis/InterpolationTable.h"

namespace quorvel {

namespace {

constexpr int32_t kPhaseOne = 32768; // phase unit: 1/32768 of a source frame
constexpr int kPhaseToRow = 6;       // 32768 phases over 512 rows

// Reads source frames near a moving position, fetching a page pointer only
// when the six taps sit inside one page; edges and page seams take the slow
// path, which reads frames outside the source as silence.
class TapReader {
public:
    TapReader(const BAT& store, int32_t frames) : store_(store), frames_(frames) {}

    int32_t Convolve(int32_t q, const InterpolationRow& row) const
    {
        const uint32_t inPage = static_cast<uint32_t>(q) & (BAT::kPageValues - 1);
        int64_t sum = 0;
        if (q >= 0 && q + 5 < frames_ && inPage + 5 < BAT::kPageValues) {
            const int16_t* p = store_.Page(static_cast<uint32_t>(q) >> 13) + inPage;
            for (int k = 0; k < kInterpolationTaps; ++k)
                sum += int32_t(p[k]) * row[static_cast<size_t>(k)];
        } else {
            for (int k = 0; k < kInterpolationTaps; ++k) {
                const int32_t at = q + k;
                if (at >= 0 && at < frames_)
                    sum += int32_t(store_.ReadSample(static_cast<uint32_t>(at))) * row[static_cast<size_t>(k)];
            }
        }
        return static_cast<int32_t>(std::clamp<int64_t>(sum >> 15, -32768, 32767));
    }

private:
    const BAT& store_;
    int32_t frames_;
};

} // namespace

int64_t ResampledFrames(int64_t sourceFrames, int32_t sourceRate, int32_t destinationRate)
{
    if (sourceRate == destinationRate)
        return sourceFrames;
    return sourceFrames * destinationRate / sourceRate;
}

int32_t Resample(const BAT& source, int32_t sourceRate, int32_t sourceFrames, BAT& destination,
                 int32_t destinationRate)
{
    const int64_t capacity = destination.Size() / 2;
    const auto outputFrames = static_cast<int32_t>(
        std::min(ResampledFrames(sourceFrames, sourceRate, destinationRate), capacity));
    if (outputFrames <= 0)
        return 0;

    if (sourceRate == destinationRate) {
        // Run by run of the destination, straight from the source pages.
        destination.ForEachRun(0, static_cast<uint32_t>(outputFrames) * 2, [&](uint32_t done, uint8_t* run,
                                                                                uint32_t bytes) {
            auto* out = reinterpret_cast<int16_t*>(run);
            const uint32_t first = done / 2;
            for (uint32_t i = 0; i < bytes / 2; ++i)
                out[i] = source.ReadSample(first + i);
            return true;
        });
        return outputFrames;
    }

    const int32_t step = sourceRate / destinationRate;
    const auto fraction =
        static_cast<int32_t>(int64_t(sourceRate) * kPhaseOne / destinationRate - int64_t(step) * kPhaseOne);
    const InterpolationTable& table = ResamplerTable();
    const TapReader taps(source, sourceFrames);

    int32_t q = -3;
    int32_t phase = 0;
    // Whole destination pages at a time: up to 8192 frames per run.
    destination.ForEachRun(0, static_cast<uint32_t>(outputFrames) * 2, [&](uint32_t, uint8_t* run, uint32_t bytes) {
        auto* out = reinterpret_cast<int16_t*>(run);
        const uint32_t count = bytes / 2;
        for (uint32_t i = 0; i < count; ++i) {
            out[i] = static_cast<int16_t>(taps.Convolve(q, table[static_cast<size_t>(phase >> kPhaseToRow)]));
            phase += fraction;
            if (phase >= kPhaseOne) {
                phase -= kPhaseOne;
                ++q;
            }
            q += step;
        }
        return true;
    });
    return outputFrames;
}

} // namespace quorvel
