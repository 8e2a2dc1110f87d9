#pragma once
// How the window's current slice and play cursor follow the slice list:
// stepping to the previous or next Active slice without playing, and
// recovering when the current slice stops cutting the loop.
#include "document/SoundDocument.h"

namespace quorvel {

// The Active slice after the one holding the cursor (the first after the
// last) becomes current and the cursor moves to its start. Without a slice
// at the cursor only a cursor at 0 steps, to the first Active slice.
void StepToNextSlice(CSoundDocument& document);

// The last Active slice starting before the cursor's slice (the last Active
// slice before the first) becomes current; a cursor at 0 without a slice
// takes the last Active slice.
void StepToPreviousSlice(CSoundDocument& document);

// When the current slice no longer cuts the loop: the slice holding the
// cursor becomes current and the cursor moves to its start (to the left
// locator when the cursor was inside the loop and the slice starts at or
// before it); with none the cursor goes to 0 before the left locator, else
// to the left locator. Returns whether anything moved.
bool ReconcileCurrentSlice(CSoundDocument& document);

} // namespace quorvel
