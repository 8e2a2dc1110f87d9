#pragma once
// The groove MIDI file: one note per slice at the slice's place in musical
// time, so that a sampler holding the slices on ascending keys replays the
// loop at any tempo. Format 1: a tempo track and a note track on channel 1.
#include <cstdint>
#include <vector>

#include "framework/FileSpec.h"

namespace quorvel {

constexpr uint16_t kGrooveDivision = 960;
constexpr int kGrooveFirstNote = 36;

// What the groove needs to know about the loop.
struct GrooveLoop {
    int32_t numerator = 4;
    int32_t denominator = 4;
    int32_t ticks = 0;     // loop length at 960 ticks per quarter note
    int32_t tempo = 0;     // milli-BPM; 0 when unknown
    int32_t loopStart = 0; // locators, in frames
    int32_t loopEnd = 0;
};

// Where one output slice lies in the sound, in frames (end exclusive).
struct GrooveSpan {
    int32_t start = 0;
    int32_t end = 0;
};

// The most slices a groove starting at firstNote can hold (one key each).
inline int GrooveNoteLimit(int firstNote) { return 128 - firstNote; }

// The whole file's bytes, one note per span from firstNote upwards. XBase
// when the notes would run past key 127 or a span lies before the loop.
std::vector<uint8_t> BuildGrooveMIDI(const GrooveLoop& loop, const std::vector<GrooveSpan>& spans, int firstNote,
                                     uint16_t division = kGrooveDivision);

// Writes the groove to `file` safely: a failure leaves any earlier file
// untouched and no partial one behind.
void WriteGrooveMIDIFile(const CFileSpec& file, const GrooveLoop& loop, const std::vector<GrooveSpan>& spans,
                         int firstNote);

} // namespace quorvel
