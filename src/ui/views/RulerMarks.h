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
};

// The marks of the visible stretch in drawing order. A label closer than 31
// pixels to the previous drawn label is dropped, its tick made small.
std::vector<SRulerMark> RulerMarks(const TimeWindow& window, int32_t sampleRate);

// "days.hours:minutes:seconds.tenths" with each field printed "%2d", a
// leading "-" for a negative time, and the leading zero fields left out:
// 1.5 s gives "1.5", 61.5 s gives "1: 1.5".
std::string RulerLabelText(int64_t frame, int32_t sampleRate);

} // namespace quorvel
