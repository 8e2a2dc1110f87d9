#pragma once
// Raises a sound so its loudest value reaches full scale.
#include "document/WaveSample.h"

namespace quorvel {

// factor = 0x3FFF8000 / peak, rounded down, so the peak lands on 32767 or
// just below (and -32768 becomes -32767). Silence and a sound already
// peaking at 32767 are left as they are.
void Normalize(WAVE_SAMPLE& sample);

} // namespace quorvel
