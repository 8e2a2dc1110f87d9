#pragma once
// Tempo arithmetic. Tempos are integers in milli-BPM (120000 = 120 BPM);
// musical lengths are ticks at 3840 per whole note (960 per quarter).
#include <cstdint>

namespace quorvel {

constexpr int32_t kTicksPerQuarter = 960;
constexpr int32_t kMaxTempo = 999999;

// Tempo of a loop from loopStart to loopEnd (frames) that lasts `ticks`:
// 0 for an empty loop or no ticks, held at kMaxTempo.
int32_t ComputeTempo(int32_t sampleRate, int32_t ticks, int32_t loopStart, int32_t loopEnd);

// The same formula at a chosen resolution and without the display ceiling;
// 0 when length or ticksPerQuarter is not positive.
int64_t TempoFromLength(int32_t lengthInFrames, int32_t sampleRate, int32_t ticks, int32_t ticksPerQuarter);

// Pitch offset in cents that makes material at `tempo` play at `newTempo`;
// 0 unless both are positive.
int16_t PitchCents(int32_t newTempo, int32_t tempo);

// The MIDI tempo value (microseconds per quarter note); 0 for a tempo that
// is not positive. Slow tempos exceed 32 bits, hence the wide result.
int64_t MicrosecondsPerQuarter(int32_t tempo);

} // namespace quorvel
