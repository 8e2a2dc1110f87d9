#pragma once
// Which slice handle a pointer in the slice strip hits.
#include <cstdint>

#include "document/Slice.h"

namespace quorvel {

class CSliceList;
struct TimeWindow;

constexpr int32_t kSliceHandleWidth = 9;
constexpr int32_t kSliceHandleHeight = 7;
constexpr int32_t kLockedSliceHandleHeight = 12;

constexpr int32_t SliceHandleHeight(SliceState state)
{
    return state == SliceState::Locked ? kLockedSliceHandleHeight : kSliceHandleHeight;
}

// The Shown slice nearest the pointer within half a handle (plus a margin) on
// either side, the first on a tie; null when none is that near or the pointer
// is above the hit handle's reach. `bottom` is the strip's height.
const CSlice* HitSliceHandle(const CSliceList& slices, const TimeWindow& window, int32_t x, int32_t y,
                             int32_t bottom);

} // namespace quorvel
