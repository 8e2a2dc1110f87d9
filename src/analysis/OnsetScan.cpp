#include "analysis/OnsetScan.h"

#include <algorithm>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr int16_t kStartLevel = 100;
constexpr int32_t kAttackWindow = 300;
constexpr int32_t kFirstExtension = 200;
constexpr int32_t kDecay = 32552; // 4069/4096 in 1/32768ths
constexpr int32_t kStrengthScale = 1024;
constexpr int32_t kStrengthLimit = 32767;
constexpr int32_t kRefineReach = 500;
constexpr int32_t kQuietLevel = 1023;

// How many times (x 1024) the attack's steepest slope exceeds the floor
// before it; a zero on either side counts as 1.
int16_t Strength(int16_t peak, int16_t floorBeforeOnset)
{
    const int32_t p = peak == 0 ? 1 : peak;
    const int32_t f = floorBeforeOnset == 0 ? 1 : floorBeforeOnset;
    return static_cast<int16_t>(std::clamp(p * kStrengthScale / f, 0, kStrengthLimit));
}

// The decay holds a level of 151 where it is. While searching at that level
// with the floor no higher, a slope of at most 151 changes nothing, so whole
// blocks of such values can be passed over without running the state
// machine. Returns the first index from `j` that may matter, with
// `previous` the value before it.
constexpr int16_t kSettledLevel = 151;
constexpr int32_t kBlock = 16;

inline int16_t Slope(int16_t x, int16_t before)
{
    const auto d = static_cast<int16_t>(2 * x - before);
    return static_cast<int16_t>(d < 0 ? -d : d);
}

int32_t SkipQuietRun(const int16_t* page, int32_t j, int32_t n, int16_t& previous)
{
    while (j + kBlock <= n) {
        bool loud = Slope(page[j], previous) > kSettledLevel;
        for (int32_t k = 1; k < kBlock; ++k)
            loud |= Slope(page[j + k], page[j + k - 1]) > kSettledLevel;
        if (loud)
            break;
        previous = page[j + kBlock - 1];
        j += kBlock;
    }
    return j;
}

} // namespace

int32_t RefineOnset(const BAT& store, int32_t i)
{
    const int32_t lo = std::max(0, i - kRefineReach);
    int32_t p = i;
    int32_t a = store.ReadSample(static_cast<uint32_t>(p));
    while (p > lo) {
        const int32_t b = store.ReadSample(static_cast<uint32_t>(p - 1));
        if ((a > 0 && b < 0) || (a < 0 && b > 0))
            break;
        if (std::abs(a) < kQuietLevel)
            break;
        --p;
        a = b;
    }
    return p;
}

int ScanOnsets(const BAT& store, int32_t length, OnsetBuffer& out)
{
    const int32_t total = std::clamp<int32_t>(length, 0, static_cast<int32_t>(store.Size() / 2));

    int16_t previous = 0;
    int16_t level = kStartLevel;
    int16_t floor = kStartLevel;
    bool attack = false;
    int16_t peak = 0;
    int32_t peakOffset = 0;
    int32_t counter = 0;
    int32_t windowLength = kAttackWindow;
    int32_t extension = kFirstExtension;
    int16_t floorBeforeOnset = 0;

    // The strength of the slice recorded last is only known at the next
    // onset; before the first one it belongs to the implicit start slice,
    // which is not kept.
    int16_t startSliceStrength = 0;
    int16_t* lastStrength = &startSliceStrength;
    int count = 0;

    for (int32_t base = 0; base < total; base += static_cast<int32_t>(BAT::kPageValues)) {
        const int16_t* page = store.Page(static_cast<uint32_t>(base) / BAT::kPageValues);
        const int32_t n = std::min<int32_t>(BAT::kPageValues, total - base);
        for (int32_t j = 0; j < n; ++j) {
            if (!attack && level == kSettledLevel && floor <= kSettledLevel) {
                j = SkipQuietRun(page, j, n, previous);
                if (j == n)
                    break;
            }
            const int16_t x = page[j];
            const auto d = static_cast<int16_t>(2 * x - previous); // wraps on purpose
            previous = x;
            const auto v = static_cast<int16_t>(d < 0 ? -d : d);   // |-32768| stays -32768

            if (attack) {
                level = peak;
                if (v > peak) {
                    peakOffset = counter;
                    peak = v;
                }
                if (++counter == windowLength) {
                    if (peakOffset > windowLength - extension) {
                        // Still rising near the end: give the attack more time.
                        windowLength += extension;
                        extension >>= 1;
                    } else {
                        level = peak;
                        floor = peak;
                        attack = false;
                        windowLength = kAttackWindow;
                        extension = kFirstExtension;
                    }
                }
            }
            if (!attack) {
                // Decay or follow the slope. Both outcomes are computed and one
                // is selected, because on noisy material the comparison is a
                // coin toss that a branch would keep mispredicting.
                const bool below = v <= level;
                const bool quiet = (v >> 2) <= floor;
                if (below || quiet) {
                    const auto decayed = static_cast<int16_t>(((level * kDecay) >> 15) + 1);
                    level = below ? decayed : v;
                    floor = below && decayed < floor ? decayed : floor;
                } else {
                    const int32_t position = RefineOnset(store, base + j);
                    *lastStrength = Strength(peak, floorBeforeOnset);
                    if (count == kMaxOnsets)
                        return count;
                    out[static_cast<size_t>(count)] = Onset{position, 0};
                    lastStrength = &out[static_cast<size_t>(count)].strength;
                    ++count;
                    floorBeforeOnset = floor;
                    peak = v;
                    peakOffset = 0;
                    counter = 0;
                    attack = true;
                }
            }
        }
    }
    *lastStrength = Strength(peak, floorBeforeOnset);
    return count;
}

} // namespace quorvel
