#pragma once
// Writes a store's values as little-endian 16-bit samples (WAV, SoundFont,
// SampleCell and Mixman data).
#include <cstdint>

#include "document/BAT.h"
#include "document/Media.h"

namespace quorvel {

// Converted through a staging buffer: the store is never swapped in place.
void WriteValuesLittleEndian(BAT& store, uint32_t firstValue, uint32_t valueCount, CMedia& media);

// `count` zero samples.
void WriteSilence(uint32_t count, CMedia& media);

} // namespace quorvel
