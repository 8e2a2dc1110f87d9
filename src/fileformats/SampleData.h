#pragma once
// Writes a store's values as 16-bit samples in a file's byte order: big-endian
// for AIFF, little-endian for WAV, SoundFont, SampleCell and Mixman data.
#include <cstdint>

#include "document/BAT.h"
#include "framework/Media.h"

namespace quorvel {

// Converted page run by page run through a staging buffer, so the store is
// never byte-swapped in place: playback may be reading it, and a failed
// write must not leave it scrambled.
void WriteValuesBigEndian(BAT& store, uint32_t firstValue, uint32_t valueCount, CMedia& media);
void WriteValuesLittleEndian(BAT& store, uint32_t firstValue, uint32_t valueCount, CMedia& media);

// `count` zero samples.
void WriteSilence(uint32_t count, CMedia& media);

} // namespace quorvel
