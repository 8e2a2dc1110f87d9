#include "analysis/StretchFill.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr int32_t kLongPiece = 2000;
constexpr int32_t kScanFrames = 300;
constexpr int32_t kTailClearance = 400;
constexpr int64_t kFullGain = 0x7FFFFFFF;

struct Peak {
    int32_t offset;
    int32_t magnitude;
};

// Loudest of the n offsets from..from-n+1; the first one seen wins ties.
Peak ScanDown(const BAT& source, int32_t start, int32_t from, int32_t n)
{
    Peak peak{from, -1};
    for (int32_t i = 0; i < n; ++i) {
        const int32_t offset = from - i;
        const int32_t value = source.ReadSample(static_cast<uint32_t>(start + offset));
        const int32_t magnitude = value < 0 ? -value : value;
        if (magnitude > peak.magnitude)
            peak = {offset, magnitude};
    }
    return peak;
}

void Copy(const BAT& source, int32_t start, int32_t count, BAT& destination)
{
    for (int32_t i = 0; i < count; ++i)
        destination.WriteSample(static_cast<uint32_t>(i), source.ReadSample(static_cast<uint32_t>(start + i)));
}

} // namespace

StretchTurningPoints FindTurningPoints(const BAT& source, int32_t start, int32_t length)
{
    const bool isLong = length > kLongPiece;
    const int32_t n = isLong ? kScanFrames : length / 8;
    const int32_t tailEnd = isLong ? length - kTailClearance : length - 1;
    StretchTurningPoints points;
    if (n == 0) {
        points.tail = tailEnd;
        points.middle = length / 2;
        return points;
    }
    const Peak tail = ScanDown(source, start, tailEnd, n);
    const Peak middle = ScanDown(source, start, length / 2, n);
    points.tail = tail.offset - 1;
    points.middle = middle.offset - 1;
    points.tailPeak = tail.magnitude;
    points.middlePeak = middle.magnitude;
    return points;
}

void StretchFill(const BAT& source, int32_t start, int32_t length, int32_t stretchedLength, BAT& destination)
{
    if (length <= 0 || stretchedLength <= 0)
        return;
    if (stretchedLength <= length) {
        Copy(source, start, stretchedLength, destination);
        return;
    }

    const StretchTurningPoints points = FindTurningPoints(source, start, length);
    const int32_t e = points.tail;
    const int32_t m = points.middle;
    Copy(source, start, e, destination);

    // With nothing between the turning points the loop would never advance;
    // the destination is zero-filled, so the rest simply stays silent.
    if (e <= m)
        return;

    const int32_t remaining = stretchedLength - e;
    const int64_t fadeStep = kFullGain / remaining;
    int64_t levelStep = 0;
    if (points.middlePeak > points.tailPeak) {
        const int64_t ratio = (int64_t(points.tailPeak) << 16) / points.middlePeak;
        levelStep = (kFullGain - (ratio << 15)) / (e - m);
    }

    int64_t fade = kFullGain;
    int64_t level = kFullGain;
    int32_t written = 0;
    auto emit = [&](int32_t offset) {
        const int32_t value = source.ReadSample(static_cast<uint32_t>(start + offset));
        const auto faded = static_cast<int16_t>((value * int32_t(fade >> 16)) >> 15);
        const auto out = static_cast<int16_t>((faded * int32_t(level >> 16)) >> 15);
        destination.WriteSample(static_cast<uint32_t>(e + written), out);
        ++written;
        fade -= fadeStep;
    };

    int32_t p = e;
    while (written < remaining) {
        level = kFullGain;
        while (p > m && written < remaining) {
            --p;
            emit(p);
            level -= levelStep;
        }
        while (p < e && written < remaining) {
            emit(p);
            ++p;
            level += levelStep;
        }
    }
}

} // namespace quorvel
