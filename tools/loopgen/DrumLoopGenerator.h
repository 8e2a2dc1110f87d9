#pragma once
// Deterministic synthetic drum loops whose onsets are known exactly.
//
// Every hit is silent on its own frame and jumps to the voice's level on the
// next one; the rest of the hit stays below half that level and dies away to
// silence. The onset scan therefore detects the jump and traces it back to
// the hit frame itself, and the steepest slope of every hit is exactly
// 2 x level, so that a hit after a silent gap gets strength
// 2 x level x 1024 / 151 (x 1024 / 100 for the first hit of the sound).
// The guarantees hold while hits do not overlap: keep hits of the pattern at
// least 110 ms apart at rates up to 48 kHz (the default pattern, at 120 BPM or
// slower, has 250 ms).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/WaveSample.h"
#include "framework/XBase.h"

namespace quorvel::loopgen {

QUORVEL_EXCEPTION(XLoopSpec, XBase);

enum class DrumVoice : uint8_t { Kick, Snare, Hat };

struct DrumHit {
    int32_t frame = 0;
    DrumVoice voice = DrumVoice::Kick;
    bool operator==(const DrumHit&) const = default;
};

// One bar per string, one character per step: 'x' plays, anything else rests.
// All three strings have the same length (steps per bar).
struct DrumPattern {
    std::string kick = "x.......x.x.....";
    std::string snare = "....x.......x...";
    std::string hat = "..x...x.......x.";
};

// Jump levels; the defaults keep every strength but the first below the
// 32767 ceiling and at least 1023, so onsets land on the hit frame.
struct VoiceLevels {
    int16_t kick = 2300;
    int16_t snare = 1600;
    int16_t hat = 1100;
};

struct LoopSpec {
    int32_t sampleRate = 44100;
    double bpm = 120.0;
    int32_t beatsPerBar = 4;
    int32_t bars = 1;
    int32_t lengthFrames = 0; // 0: exactly `bars` bars; else the pattern repeats to this length
    int32_t channels = 1;     // 1, or 2 for interleaved stereo
    uint32_t seed = 1;
    DrumPattern pattern;
    VoiceLevels levels;
    // Peak level of a soft hiss under everything, as a recording's room has;
    // 0 keeps the gaps digitally silent (and the strengths exact). A hiss
    // lets louder hits keep strengths apart: a strength measures a hit
    // against the level before it.
    int16_t hiss = 0;
};

struct GeneratedLoop {
    int32_t sampleRate = 0;
    int32_t channels = 1;
    int32_t frames = 0;
    std::vector<int16_t> samples; // frames x channels, interleaved
    std::vector<DrumHit> hits;    // in frame order
};

constexpr int32_t kMaxSeconds = 300;

// Throws XLoopSpec for a recipe it cannot honour (no steps, bad channel count,
// longer than five minutes ...).
GeneratedLoop GenerateDrumLoop(const LoopSpec& recipe);

// Length of one bar in frames at the loop's rate and tempo.
int32_t BarFrames(const LoopSpec& recipe);

// The jump level of a voice.
int16_t VoiceLevel(const VoiceLevels& levels, DrumVoice voice);

// A mono loop as a sound; stereo loops are refused.
std::unique_ptr<WAVE_SAMPLE> MakeWaveSample(const GeneratedLoop& loop, const std::string& name = "Drum loop");

} // namespace quorvel::loopgen
