#pragma once
// The musical part of the record every export and transmission is built
// with: the loop's metre and length, and the pitch offset and tempo the
// receiver should use.
#include <cstdint>

namespace quorvel {

struct OutputTempoSettings {
    int16_t numerator = 4;
    int16_t denominator = 4;
    int32_t ticks = 0;       // loop length in ticks
    bool pitchMode = false;
    int16_t pitchCents = 0;  // offset that makes the slices fit the tempo below
    int32_t tempo = 0;       // milli-BPM
};

// With pitch mode on and both tempos known, the slices are pitched to the new
// tempo and that tempo is recorded; otherwise the calculated tempo is, unpitched.
OutputTempoSettings MakeOutputTempoSettings(int32_t numerator, int32_t denominator, int32_t ticks, bool pitchMode,
                                            int32_t tempo, int32_t newTempo);

} // namespace quorvel
