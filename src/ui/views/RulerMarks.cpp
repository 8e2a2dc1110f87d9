#include "ui/views/RulerMarks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ui/views/TimeWindow.h"

namespace quorvel {

namespace {

// Rounds toward minus infinity, for positions before frame 0 as well.
int64_t FloorDivide(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t CeilDivide(int64_t a, int64_t b) { return -FloorDivide(-a, b); }

enum class LabelForm { Tenths, Hundredths, Thousandths, Frames };

// A step as an exact fraction of frames (frames / per), so that a
// thousandth of a second falls on the right frame at any rate.
struct SStep {
    int64_t frames = 1;
    int64_t per = 1;
    LabelForm form = LabelForm::Tenths;

    double Pixels(int32_t framesPerPixel) const { return double(frames) / double(per) / framesPerPixel; }
    // Whether `step` fits a whole number of times into this one.
    bool DividedBy(const SStep& step) const { return (frames * step.per) % (step.frames * per) == 0; }
};

struct SScale {
    SStep tick;
    SStep label;
};

// "days.hours:minutes:seconds" with the leading zero fields left out, then
// the fraction as given.
std::string JoinFields(bool negative, int64_t seconds, const std::string& fraction)
{
    const int days = static_cast<int>(seconds / 86400);
    seconds %= 86400;
    const int hours = static_cast<int>(seconds / 3600);
    seconds %= 3600;
    const int minutes = static_cast<int>(seconds / 60);
    const int wholeSeconds = static_cast<int>(seconds % 60);

    char text[64];
    std::snprintf(text, sizeof text, "s%2d.%2d:%2d:%2d", days, hours, minutes, wholeSeconds);
    std::string label(text);
    // Each leading field is three characters ("%2d" and its separator).
    size_t cut = 1;
    for (int field : {days, hours, minutes}) {
        if (field != 0)
            break;
        cut += 3;
    }
    std::string fields = label.substr(cut) + "." + fraction;
    fields.erase(0, fields.find_first_not_of(' '));
    return negative ? "-" + fields : fields;
}

std::vector<SRulerMark> MarksOf(const TimeWindow& window, int32_t rate, const SScale& scale)
{
    std::vector<SRulerMark> marks;
    const SStep& tick = scale.tick;
    const SStep& label = scale.label;
    const int64_t from = std::max(window.visibleStart, window.totalStart);
    const int64_t to = std::min(window.visibleEnd, window.totalEnd);
    // Steps of whole frames test the frame itself, as the table's steps
    // always have; fractional steps test the tick's index.
    const bool whole = tick.per == 1 && label.per == 1;
    const int64_t halfLabel = std::max<int64_t>(1, label.frames / 2);
    bool labelled = false;
    int32_t lastLabelX = 0;
    for (int64_t k = CeilDivide(from * tick.per, tick.frames);; ++k) {
        const int64_t frame = FloorDivide(k * tick.frames, tick.per);
        if (frame > to)
            break;
        const int32_t x = window.PixelOfFrame(static_cast<int32_t>(frame));
        if (x > window.rightPixel + 15)
            break;
        // Position of the tick in units of half the label step.
        const int64_t halves = k * tick.frames * label.per * 2;
        const int64_t halfUnit = tick.per * label.frames;
        const bool onLabel = whole ? frame % label.frames == 0 : halves % (2 * halfUnit) == 0;
        const bool onHalf = whole ? frame % halfLabel == 0 : halves % halfUnit == 0;
        SRulerMark mark{static_cast<int32_t>(frame), x, RulerTick::Small, {}};
        if (onLabel && (!labelled || x > lastLabelX + 30)) {
            mark.tick = RulerTick::Labelled;
            labelled = true;
            lastLabelX = x;
            switch (label.form) {
            case LabelForm::Tenths:
            case LabelForm::Hundredths:
            case LabelForm::Thousandths: {
                if (whole) {
                    mark.label = RulerLabelText(frame, rate);
                    break;
                }
                // From the step, not the frame: a labelled tick lies on a
                // whole number of thousandths even where frames do not.
                const int64_t ms = k * tick.frames * 1000 / (tick.per * int64_t(rate));
                const int decimals = label.form == LabelForm::Tenths ? 1 : label.form == LabelForm::Hundredths ? 2 : 3;
                mark.label = RulerLabelTextOfMilliseconds(ms, decimals);
                break;
            }
            case LabelForm::Frames:
                mark.label = std::to_string(frame);
                break;
            }
        } else if (onHalf) {
            mark.tick = RulerTick::Half;
        }
        marks.push_back(std::move(mark));
    }
    return marks;
}

size_t LabelCount(const std::vector<SRulerMark>& marks)
{
    return static_cast<size_t>(
        std::count_if(marks.begin(), marks.end(), [](const SRulerMark& m) { return m.tick == RulerTick::Labelled; }));
}

// The finer steps below the table, finest first: 1, 10, 100 ... frames while
// shorter than the finest time step, then the thousandth, the hundredth and
// the tenth of a second, each only when at least a frame long.
std::vector<SStep> FinerSteps(int32_t rate)
{
    std::vector<SStep> times;
    for (int64_t per : {1000, 100, 10})
        if (rate >= per)
            times.push_back({rate, per, per == 1000   ? LabelForm::Thousandths
                                        : per == 100 ? LabelForm::Hundredths
                                                     : LabelForm::Tenths});
    // Below the finest time step, or below a second when even a tenth is
    // shorter than a frame.
    const SStep limit = times.empty() ? SStep{rate, 1, LabelForm::Tenths} : times.front();
    std::vector<SStep> steps;
    for (int64_t frames = 1; frames * limit.per < limit.frames; frames *= 10)
        steps.push_back({frames, 1, LabelForm::Frames});
    steps.insert(steps.end(), times.begin(), times.end());
    return steps;
}

} // namespace

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
    const int32_t rate = std::max(1, sampleRate);
    const int32_t perPixel = window.FramesPerPixel();
    const SRulerSteps table = ChooseRulerSteps(rate, perPixel);
    std::vector<SRulerMark> marks;
    if (table.tick > 0)
        marks = MarksOf(window, rate, {{table.tick, 1, LabelForm::Tenths}, {table.label, 1, LabelForm::Tenths}});
    if (LabelCount(marks) >= 2)
        return marks;

    // Too few labels: the coarsest finer label step that shows two, ticked
    // by the finest step at least 5 pixels wide that divides it.
    const std::vector<SStep> finer = FinerSteps(rate);
    for (auto label = finer.rbegin(); label != finer.rend(); ++label) {
        if (label->frames >= table.label * label->per)
            continue; // not finer than the table's own label step
        SStep tick = *label;
        for (const SStep& step : finer) {
            if (step.Pixels(perPixel) >= 5 && step.frames * label->per < label->frames * step.per &&
                label->DividedBy(step)) {
                tick = step;
                break;
            }
        }
        std::vector<SRulerMark> candidate = MarksOf(window, rate, {tick, *label});
        if (LabelCount(candidate) > LabelCount(marks))
            marks = std::move(candidate);
        if (LabelCount(marks) >= 2)
            break;
    }
    return marks;
}

std::string RulerLabelText(int64_t frame, int32_t sampleRate)
{
    const int64_t units = frame * 2000 / std::max(1, sampleRate);
    const int64_t rest = std::llabs(units);
    return JoinFields(units < 0, rest / 2000, std::to_string(rest % 2000 / 200));
}

std::string RulerLabelTextOfMilliseconds(int64_t milliseconds, int decimals)
{
    const int64_t rest = std::llabs(milliseconds);
    char fraction[8];
    const int64_t thousandths = rest % 1000;
    if (decimals >= 3)
        std::snprintf(fraction, sizeof fraction, "%03d", static_cast<int>(thousandths));
    else if (decimals == 2)
        std::snprintf(fraction, sizeof fraction, "%02d", static_cast<int>(thousandths / 10));
    else
        std::snprintf(fraction, sizeof fraction, "%d", static_cast<int>(thousandths / 100));
    return JoinFields(milliseconds < 0, rest / 1000, fraction);
}

} // namespace quorvel
