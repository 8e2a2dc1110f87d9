#pragma once
// The "COMM", "INST" and "MARK" chunks of the mono AIFF files the exports
// write, with the loop markers 1 and 2 the instrument chunk refers to.
#include <cstdint>

#include "fileformats/IFFWriter.h"

namespace quorvel {

void WriteMonoCommon(CIFFWriter& writer, uint32_t frames, int32_t sampleRate);
// Key range 0..127, velocities 1..127, sustain loop on markers 1 and 2,
// release loop on markers 3 and 4, both play mode 0.
void WriteInstrument(CIFFWriter& writer, uint8_t baseNote, int8_t detune);
// Marker 1 "Loop start" and marker 2 "Loop end".
void WriteLoopMarkers(CIFFWriter& writer, int32_t loopStart, int32_t loopEnd);

} // namespace quorvel
