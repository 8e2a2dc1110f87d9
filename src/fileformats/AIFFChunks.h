#pragma once
// Layouts of the AIFF chunks that the import reads and the AIFF writers
// write (all big-endian).
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Media.h"

namespace quorvel {

struct AIFFCommon {
    static constexpr uint32_t kSize = 18;
    static constexpr uint32_t kCompressedSize = 22; // AIFF-C adds the compression type

    uint16_t channels = 0;
    uint32_t frames = 0;
    uint16_t bits = 0;
    uint8_t rate[10] = {}; // 80-bit extended

    static AIFFCommon Decode(const uint8_t bytes[kSize]);
    void Encode(uint8_t bytes[kSize]) const;
};

struct AIFFLoop {
    int16_t playMode = 0; // 0 no loop, 1 forward, 2 forward and backward
    uint16_t beginMarker = 0;
    uint16_t endMarker = 0;
};

struct AIFFInstrument {
    static constexpr uint32_t kSize = 20;

    uint8_t baseNote = 60;
    int8_t detune = 0;
    uint8_t lowNote = 0;
    uint8_t highNote = 127;
    uint8_t lowVelocity = 1;
    uint8_t highVelocity = 127;
    int16_t gain = 0;
    AIFFLoop sustain;
    AIFFLoop release;

    static AIFFInstrument Decode(const uint8_t bytes[kSize]);
    void Encode(uint8_t bytes[kSize]) const;
};

struct AIFFMarker {
    static constexpr const char* kUnnamed = "Uninited marker";

    uint16_t id = 0;
    int32_t position = 0;
    std::string name; // at most 255 characters
};

// Reads the markers of a "MARK" payload of `size` bytes from the media's
// current position. A marker running past the payload is XBadFormat; memory
// grows only with markers actually present in the file.
std::vector<AIFFMarker> ReadMarkers(CMedia& media, uint32_t size);
// The "MARK" payload for these markers (names cut to 255 characters).
std::vector<uint8_t> EncodeMarkers(const std::vector<AIFFMarker>& markers);

} // namespace quorvel
