#pragma once
// Writes interleaved 16-bit frames as a PCM WAV file.
#include <cstdint>

#include "framework/Media.h"

namespace quorvel {

void WriteWaveFile(CMedia& media, const int16_t* interleaved, int32_t frames, int channels, int32_t sampleRate);

} // namespace quorvel
