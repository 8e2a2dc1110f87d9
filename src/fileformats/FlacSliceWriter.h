#pragma once
// One slice as a 16-bit mono FLAC file: the same samples a WAV slice holds,
// losslessly compressed.
#include "document/WaveSample.h"
#include "framework/Media.h"

namespace quorvel {

// The encoder's failures throw XWrite; the media's own propagate.
void WriteFlacSlice(CMedia& media, WAVE_SAMPLE& sample);

} // namespace quorvel
