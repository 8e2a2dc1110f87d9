#pragma once
// One pass over a sound that finds every onset and rates how strongly it
// stands out from the quiet before it. The arithmetic is 16-bit on purpose:
// very steep slopes wrap around, and the strengths stored in documents were
// made that way, so reopened and re-analysed sounds agree.
#include <array>
#include <cstdint>

#include "document/BAT.h"

namespace quorvel {

struct Onset {
    int32_t position = 0;
    int16_t strength = 0; // 0 .. 32767
};

// At most this many onsets are recorded; the rest of the sound is not scanned.
constexpr int kMaxOnsets = 997;
using OnsetBuffer = std::array<Onset, kMaxOnsets>;

// Scans values 0 .. length-1 of store and fills out[0 .. n) in position
// order; returns n. Allocates nothing.
int ScanOnsets(const BAT& store, int32_t length, OnsetBuffer& out);

// Moves a detection point back (at most 500 frames) to where the rise began:
// the first frame, going backwards, that is quiet or has a sign change
// before it.
int32_t RefineOnset(const BAT& store, int32_t i);

} // namespace quorvel
