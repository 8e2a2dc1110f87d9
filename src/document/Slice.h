#pragma once
// One slice point of the document and the predicates every walk over the
// slice list uses.
#include <cstdint>

namespace quorvel {

enum class SliceState : int32_t {
    Normal = 0, // found by the analysis; cuts the loop while above the threshold
    Hidden = 1, // never cuts the loop
    Locked = 2, // always cuts the loop (every Pen slice is one)
};

enum class SliceFilter {
    All,    // every slice
    Active, // the slices that cut the loop
    Shown,  // the slices the slice views draw and the tools act on
};

// Plain data so that the 1000-slot table can be cleared and shifted as a block.
struct CSlice {
    int32_t position = 0;   // first frame of the slice
    int16_t strength = 0;   // 1 .. 32767 from the analysis; 16384 for a Pen slice
    bool aboveThreshold = false;
    bool selected = false;
    bool changed = false;   // the views redraw changed slices and clear this
    SliceState state = SliceState::Normal;
};

constexpr int16_t kPenSliceStrength = 16384;

// "normal", "hidden" or "locked", as reports name the states.
constexpr const char* SliceStateName(SliceState state)
{
    switch (state) {
    case SliceState::Hidden:
        return "hidden";
    case SliceState::Locked:
        return "locked";
    case SliceState::Normal:
        break;
    }
    return "normal";
}

inline bool Passes(const CSlice& slice, SliceFilter filter)
{
    switch (filter) {
    case SliceFilter::All:
        return true;
    case SliceFilter::Active:
        return (slice.state == SliceState::Normal && slice.aboveThreshold) || slice.state == SliceState::Locked;
    case SliceFilter::Shown:
        return slice.state == SliceState::Locked || slice.aboveThreshold;
    }
    return false;
}

} // namespace quorvel
