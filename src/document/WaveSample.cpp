#include "document/WaveSample.h"

#include <algorithm>

namespace quorvel {

WAVE_SAMPLE::WAVE_SAMPLE(const std::string& name, int32_t sampleRate, int32_t length,
                         int32_t loopStart, int32_t loopEnd, bool loopOn)
    : sampleRate_(sampleRate), length_(std::max(length, 0))
{
    SetName(name);
    if (loopOn)
        SetLoop(loopStart, loopEnd, true);
    else
        loopEnd_ = length_;
    store_ = std::make_unique<BAT>(static_cast<uint32_t>(length_) * 2u);
}

void WAVE_SAMPLE::SetName(const std::string& name)
{
    const size_t n = std::min(name.size(), kNameCapacity - 1);
    std::fill(std::begin(name_), std::end(name_), '\0');
    std::copy_n(name.data(), n, name_);
}

void WAVE_SAMPLE::SetLoop(int32_t start, int32_t end, bool on)
{
    if (int64_t(end) - start >= 1 && start >= 0) {
        start = std::clamp(start, 0, std::min(length_, end));
        end = std::clamp(end, start, length_);
        // A loop clamped to nothing (both locators past the end) would break
        // the one-frame minimum every reader of the loop relies on.
        if (end - start >= 1 || length_ == 0) {
            loopStart_ = start;
            loopEnd_ = end;
            loopOn_ = on;
            return;
        }
    }
    loopOn_ = true;
    loopStart_ = 0;
    loopEnd_ = length_;
}

int32_t WAVE_SAMPLE::FindZeroCrossing(int32_t position, int32_t range) const
{
    if (length_ == 0)
        return 0;
    const int32_t p = std::clamp(position, 0, length_ - 1);
    const int32_t hi = static_cast<int32_t>(std::clamp<int64_t>(int64_t(p) + range, 0, length_));
    const int32_t lo = static_cast<int32_t>(std::clamp<int64_t>(int64_t(p) - range, 0, hi));
    int32_t b = p;
    int32_t f = p;
    int16_t previousB = Value(p);
    int16_t previousF = previousB;
    auto crosses = [](int16_t before, int16_t now) {
        return (before >= 0 && now <= 0) || (before <= 0 && now >= 0);
    };
    while (f < hi && b >= lo) {
        const int16_t a = Value(b);
        const int16_t c = Value(f);
        if (crosses(previousB, a))
            return b;
        if (crosses(previousF, c))
            return f;
        previousB = a;
        previousF = c;
        --b;
        ++f;
    }
    return p;
}

} // namespace quorvel
