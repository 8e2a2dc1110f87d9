#pragma once
// Sample-rate conversion by six-tap interpolation (see InterpolationTable.h).
#include <cstdint>

#include "document/BAT.h"

namespace quorvel {

// Frames Resample writes for `sourceFrames` at these rates:
// trunc(sourceFrames x destinationRate / sourceRate); the frame count itself
// at equal rates.
int64_t ResampledFrames(int64_t sourceFrames, int32_t sourceRate, int32_t destinationRate);

// Converts the first `sourceFrames` values of `source` into the start of
// `destination`, writing no more frames than the destination holds. Equal
// rates copy. Output frame j is centred on source position
// j x sourceRate / destinationRate - 1 (one frame late, the same for every
// output, so converted slices still line up). Returns the frames written.
// Rates must be positive.
int32_t Resample(const BAT& source, int32_t sourceRate, int32_t sourceFrames, BAT& destination,
                 int32_t destinationRate);

} // namespace quorvel
