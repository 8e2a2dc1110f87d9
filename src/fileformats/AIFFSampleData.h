#pragma once
// Writes a store's values as big-endian 16-bit samples, the way every AIFF
// writer stores its sound data.
#include <cstdint>

#include "document/BAT.h"
#include "document/Media.h"

namespace quorvel {

// Converts page run by page run into a staging buffer and writes that, so
// the store itself is never byte-swapped in place: playback may be reading
// it, and a failed write must not leave it scrambled.
void WriteValuesBigEndian(BAT& store, uint32_t firstValue, uint32_t valueCount, CMedia& media);

} // namespace quorvel
