#pragma once
// Lengthens a piece of sound without changing its pitch: the beginning is
// kept, and the added length is a ping-pong loop between a loud point near
// the end and a loud point in the middle, faded linearly to silence.
#include <cstdint>

#include "document/BAT.h"

namespace quorvel {

// The two turning points of a piece of `length` frames starting at `start`:
// offsets (from start) where the loop turns, and the magnitudes found there
// (-1 when the piece is too short to scan).
struct StretchTurningPoints {
    int32_t tail = 0;   // E
    int32_t middle = 0; // M
    int32_t tailPeak = -1;
    int32_t middlePeak = -1;
};

StretchTurningPoints FindTurningPoints(const BAT& source, int32_t start, int32_t length);

// Writes `stretchedLength` frames into the start of `destination` from the
// `length` frames of `source` at `start`. Equal lengths copy; a zero length
// writes nothing; a piece too short to loop (E not after M) is followed by
// silence instead.
void StretchFill(const BAT& source, int32_t start, int32_t length, int32_t stretchedLength, BAT& destination);

} // namespace quorvel
