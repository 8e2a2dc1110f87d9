#pragma once
// Where the parts of a program body sit. Kept in one place so that a
// correction from the sampler's documents touches only this file.
#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvel::k2000layout {

// Common part.
constexpr size_t kProgramTagAt = 0;
constexpr uint8_t kProgramTag = 8;
constexpr size_t kProgramFormatAt = 1;
constexpr uint8_t kProgramFormat = 2;
constexpr size_t kLayerCountAt = 2;
constexpr size_t kProgramFlagsAt = 3;
// Both play modes off: a polyphonic program.
constexpr uint8_t kDefaultProgramFlags = 0x18;
constexpr size_t kProgramSettingsAt = 4;
constexpr std::array<uint8_t, 4> kDefaultProgramSettings{1, 1, 55, 64};
constexpr size_t kEffectsTagAt = 40;
constexpr uint8_t kEffectsTag = 15;

// A tagged segment of a layer: its place, tag and width.
struct SSegment {
    size_t at;
    uint8_t tag;
    size_t width;
};

// The layer's own segment opens each layer (its tag is not checked on reading).
constexpr SSegment kLayerSegment{0, 9, 16};
constexpr size_t kLowKeyAt = 2;
constexpr size_t kHighKeyAt = 3;
constexpr size_t kHighVelocityLevelAt = 5;

// The segments whose tags a layer read from the sampler must carry.
constexpr std::array<SSegment, 16> kLayerSegments{{
    {16, 16, 8},  {24, 17, 8},  {32, 24, 4},  {36, 25, 4},  {40, 20, 8},  {48, 21, 8},
    {56, 26, 4},  {60, 27, 4},  {64, 32, 16}, {80, 33, 16}, {96, 34, 16}, {112, 35, 16},
    {160, 80, 16}, {176, 81, 16}, {192, 82, 16}, {208, 83, 16},
}};

// The untagged 32-byte block between the envelopes and the last four segments: it names the
// layer's keymaps.
constexpr size_t kKeymapBlockAt = 128;
constexpr size_t kKeymapBlockWidth = 32;
constexpr size_t kFirstKeymapAt = kKeymapBlockAt + 2;

} // namespace quorvel::k2000layout
