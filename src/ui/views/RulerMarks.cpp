#include "ui/views/RulerMarks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ui/views/TimeWindow.h"

namespace quorvel {

std::array<int64_t, 7> RulerSteps(int32_t sampleRate)
{
    const int64_t rate = std::max(1, sampleRate);
    return {rate / 10, rate, rate * 10, rate * 60, rate * 600, rate * 3600, rate * 36000};
}

SRulerSteps ChooseRulerSteps(int32_t sampleRate, int32_t framesPerPixel)
{
    const auto steps = RulerSteps(sampleRate);
    const int64_t perPixel = std::max(1, framesPerPixel);
    for (size_t i = 0; i < steps.size(); ++i)
        if (steps[i] / perPixel >= 5 && steps[i] > 0)
            return {steps[i], steps[std::min(i + 1, steps.size() - 1)]};
    return {steps.back(), steps.back()};
}

std::vector<SRulerMark> RulerMarks(const TimeWindow& window, int32_t sampleRate)
{
    std::vector<SRulerMark> marks;
    const SRulerSteps steps = ChooseRulerSteps(sampleRate, window.FramesPerPixel());
    const int64_t from = std::max(window.visibleStart, window.totalStart);
    const int64_t to = std::min(window.visibleEnd, window.totalEnd);
    const int64_t halfLabel = std::max<int64_t>(1, steps.label / 2);
    int64_t frame = (from + steps.tick - 1) / steps.tick * steps.tick;
    if (from < 0)
        frame = from / steps.tick * steps.tick; // division already rounds a negative start up
    bool labelled = false;
    int32_t lastLabelX = 0;
    for (; frame <= to; frame += steps.tick) {
        const int32_t x = window.PixelOfFrame(static_cast<int32_t>(frame));
        if (x > window.rightPixel + 15)
            break;
        SRulerMark mark{static_cast<int32_t>(frame), x, RulerTick::Small};
        if (frame % steps.label == 0 && (!labelled || x > lastLabelX + 30)) {
            mark.tick = RulerTick::Labelled;
            labelled = true;
            lastLabelX = x;
        } else if (frame % halfLabel == 0) {
            mark.tick = RulerTick::Half;
        }
        marks.push_back(mark);
    }
    return marks;
}

std::string RulerLabelText(int64_t frame, int32_t sampleRate)
{
    const int64_t units = frame * 2000 / std::max(1, sampleRate);
    int64_t rest = std::llabs(units);
    const int days = static_cast<int>(rest / 172800000);
    rest %= 172800000;
    const int hours = static_cast<int>(rest / 7200000);
    rest %= 7200000;
    const int minutes = static_cast<int>(rest / 120000);
    rest %= 120000;
    const int seconds = static_cast<int>(rest / 2000);
    rest %= 2000;
    const int tenths = static_cast<int>(rest / 200);

    char text[64];
    std::snprintf(text, sizeof text, "s%2d.%2d:%2d:%2d.%1d", days, hours, minutes, seconds, tenths);
    std::string label(text);
    label[0] = units < 0 ? '-' : ' ';
    // Each leading field is three characters ("%2d" and its separator).
    size_t cut = 1;
    for (int field : {days, hours, minutes}) {
        if (field != 0)
            break;
        cut += 3;
    }
    std::string fields = label.substr(cut);
    fields.erase(0, fields.find_first_not_of(' '));
    return units < 0 ? "-" + fields : fields;
}

} // namespace quorvel
