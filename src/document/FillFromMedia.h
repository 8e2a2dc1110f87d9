#pragma once
// Fills a mono store from interleaved 16-bit file frames: one channel, or a
// mix-down of all channels that scales the file only when the sum clips.
#include <cstdint>

#include "document/BAT.h"
#include "framework/Media.h"

namespace quorvel {

// Reads `frameCount` frames from the media's current position. A `channel`
// equal to `channelCount` selects the mix-down; any other value extracts
// that channel (0 is the first). `swapBytes` is set for big-endian (AIFF)
// data. Returns whether the mix-down had to apply a gain.
bool FillFromMedia(CMedia& media, BAT& store, int bytesPerSample, int channelCount, int channel,
                   int32_t frameCount, bool swapBytes);

} // namespace quorvel
