#include "ui/views/SliceHandleHit.h"

#include <algorithm>
#include <cstdlib>

#include "document/SliceList.h"
#include "ui/views/TimeWindow.h"

namespace quorvel {

const CSlice* HitSliceHandle(const CSliceList& slices, const TimeWindow& window, int32_t x, int32_t y,
                             int32_t bottom)
{
    const int64_t frame = window.FrameOfPixel(x);
    const int64_t reach = std::max<int64_t>(1, window.FramesOfPixels(kSliceHandleWidth + 10) / 2);
    const CSlice* hit = nullptr;
    int64_t hitDistance = 0;
    for (const CSlice* slice = slices.First(SliceFilter::Shown); slice; slice = slices.Next(slice, SliceFilter::Shown)) {
        const int64_t p = slice->position;
        if (p - reach > frame)
            break; // positions only grow from here
        if (std::max(p, reach) - reach <= frame && frame < p + reach) {
            const int64_t distance = std::llabs(p - frame);
            if (!hit || distance < hitDistance) {
                hit = slice;
                hitDistance = distance;
            }
        }
    }
    if (hit && y < bottom - (SliceHandleHeight(hit->state) + 5))
        return nullptr;
    return hit;
}

} // namespace quorvel
