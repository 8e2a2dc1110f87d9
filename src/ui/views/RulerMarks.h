#pragma once
// The time ruler's ticks and labels: which step of a fixed table of times
// fits the magnification, where the ticks fall, which get a label, and the
// label text.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

struct TimeWindow;

// Tenths of a second up to ten hours, in frames.
std::array<int64_t, 7> RulerSteps(int32_t sampleRate);

struct SRulerSteps {
    int64_t tick = 0;
    int64_t label = 0;
};
// The first step at least 5 pixels wide ticks; the next one labels.
SRulerSteps ChooseRulerSteps(int32_t sampleRate, int32_t framesPerPixel);

enum class RulerTick { Labelled, Half, Small };

struct SRulerMark {
    int32_t frame = 0;
    int32_t x = 0;
    RulerTick tick = RulerTick::Small;
    std::string label; // empty unless Labelled
};

// The marks of the visible stretch in drawing order. A label closer than 31
// pixels to the previous drawn label is dropped, its tick made small.
//
// Where the table's steps leave fewer than two labels in view (zoomed in
// deeply, or a sound shorter than a second or two), the ruler goes on with
// finer steps: tenths, hundredths and thousandths of a second, then 100, 10
// and 1 frames, choosing the coarsest label step that shows two labels.
// Labels then carry as many decimals as the step needs, or read the frame
// number for steps of frames.
std::vector<SRulerMark> RulerMarks(const TimeWindow& window, int32_t sampleRate);

// "days.hours:minutes:seconds.tenths" with each field printed "%2d", a
// leading "-" for a negative time, and the leading zero fields left out:
// 1.5 s gives "1.5", 61.5 s gives "1: 1.5".
std::string RulerLabelText(int64_t frame, int32_t sampleRate);

// The same form with `decimals` (1 to 3) places of a second, from a time in
// thousandths of a second: 1250 with 2 decimals gives "1.25".
std::string RulerLabelTextOfMilliseconds(int64_t milliseconds, int decimals);

} // namespace quorvel
