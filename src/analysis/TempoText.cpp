#include "analysis/TempoText.h"

#include <algorithm>
#include <cstdio>

#include "analysis/Tempo.h"
#include "document/StretchAmount.h"

namespace quorvel {

namespace {

constexpr int32_t kMaxBars = 666;
constexpr int64_t kSaturated = int64_t(1) << 40; // far above any clamp below

std::string_view SkipBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string FormatTempo(int32_t tempo)
{
    char text[32];
    std::snprintf(text, sizeof text, "%3ld.%03ld", long(tempo / 1000), long(tempo % 1000));
    std::string result(text);
    while (!result.empty() && (result.back() == ' ' || result.back() == '.'))
        result.pop_back();
    return result;
}

std::string TempoLabel(int32_t tempo) { return FormatTempo(tempo) + " BPM"; }

std::string NewTempoFieldText(int32_t newTempo) { return std::string(SkipBlanks(FormatTempo(newTempo))); }

int32_t ParseNewTempo(std::string_view text)
{
    // Read digit by digit rather than through a double, which would turn a
    // typed "1.005" into 1004.
    text = SkipBlanks(text);
    int64_t whole = 0;
    size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        whole = std::min(whole * 10 + (text[i] - '0'), kSaturated);
    int64_t milli = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (int place = 100; place > 0 && i < text.size() && IsDigit(text[i]); place /= 10, ++i)
            milli += (text[i] - '0') * place;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(whole * 1000 + milli, 1, kMaxTempo));
}

int32_t ParseBars(std::string_view text)
{
    text = SkipBlanks(text);
    int64_t bars = 0;
    for (size_t i = 0; i < text.size() && IsDigit(text[i]); ++i)
        bars = std::min(bars * 10 + (text[i] - '0'), kSaturated);
    return static_cast<int32_t>(std::clamp<int64_t>(bars, 0, kMaxBars));
}

int16_t StretchIndexFromFader(int32_t position)
{
    const int32_t p = std::clamp(position, 0, 999);
    return static_cast<int16_t>(p * (kStretchSteps - 1) / 999);
}

int32_t StretchFaderPosition(int16_t index)
{
    // The first position of the step, rounded up: rounding down would land
    // on the step below and the fader would read back one step less.
    const int32_t i = std::clamp<int32_t>(index, 0, kStretchSteps - 1);
    return (999 * i + kStretchSteps - 2) / (kStretchSteps - 1);
}

} // namespace quorvel
