#pragma once
// What the import needs to know about a sound file before loading it.
#include <cstdint>

namespace quorvel {

struct SoundFileInfo {
    // 16 bits wide: a channel count of 258 must not pass as 2.
    uint16_t channels = 0;
    uint16_t bits = 0;
    uint32_t rate = 0; // Hz, at most INT32_MAX
    uint32_t frames = 0;
    // 16-bit linear samples that the import can convert.
    bool supported = false;
    // Byte order of the samples: AIFF is big-endian except AIFF-C "sowt".
    bool littleEndian = false;
};

} // namespace quorvel
