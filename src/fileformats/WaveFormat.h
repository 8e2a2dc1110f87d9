#pragma once
// The WAV "fmt " chunk (little-endian) and the reading of a WAV file's format.
#include <cstdint>

#include "framework/Media.h"
#include "fileformats/IFFReader.h"
#include "fileformats/SoundFileInfo.h"

namespace quorvel {

struct WaveFormat {
    static constexpr uint32_t kSize = 16;
    static constexpr uint16_t kPCM = 1;
    static constexpr uint16_t kExtensible = 0xFFFE;

    uint16_t formatTag = kPCM;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t bytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bits = 0;

    // Linear 16-bit PCM. XHeaderOverflow when the rate is not positive or the
    // bytes per second would not fit their 32-bit field.
    static WaveFormat PCM16(int channels, int64_t sampleRate);

    static WaveFormat Decode(const uint8_t bytes[kSize]);
    void Encode(uint8_t bytes[kSize]) const;
};

// XBadFormat without "fmt "; XUnsupportedFormat when it describes no
// playable sound or its rate is outside the importable range. Frames come
// from the "data" size. A file whose "data" chunk cannot be reached is
// damaged (XBadFormat), never an empty sound; only an empty "data" chunk as
// the last item makes a sound of no frames.
SoundFileInfo ReadWaveInfo(CMedia& media);
SoundFileInfo ReadWaveInfo(CWaveReader& reader);

} // namespace quorvel
