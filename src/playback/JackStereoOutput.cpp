#include "playback/JackStereoOutput.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr float kScale = 1.0f / 32768.0f;

// The most source frames one period can need: every frame it spans at the
// lowest rate, the one before its start and the one after its end.
constexpr size_t kMaxSourceFrames =
    size_t{CJackStereoOutput::kMaxPeriod} * CJackStereoOutput::kSourceRate / CJackStereoOutput::kMinServerRate + 4;

} // namespace

CJackStereoOutput::CJackStereoOutput(uint32_t serverRate, CABCSoundRenderer& source)
    : serverRate_(serverRate), source_(source)
{
    if (serverRate < kMinServerRate || serverRate > kMaxServerRate)
        throw ZSOUND_EXCEPTION();
    frames_.resize((serverRate == kSourceRate ? kMaxPeriod : kMaxSourceFrames) * 2);
}

void CJackStereoOutput::Reset()
{
    held_ = 0;
    position_ = 0;
}

bool CJackStereoOutput::Process(float* left, float* right, uint32_t frames)
{
    if (frames > kMaxPeriod) {
        std::fill_n(left, frames, 0.0f);
        std::fill_n(right, frames, 0.0f);
        return false;
    }
    if (serverRate_ != kSourceRate) {
        Convert(left, right, frames);
        return true;
    }
    int16_t* in = frames_.data();
    source_.Render(in, static_cast<int32_t>(frames));
    for (uint32_t i = 0; i < frames; ++i) {
        left[i] = in[2 * i] * kScale;
        right[i] = in[2 * i + 1] * kScale;
    }
    return true;
}

void CJackStereoOutput::Convert(float* left, float* right, uint32_t frames)
{
    if (frames == 0)
        return;
    const uint64_t rate = serverRate_;
    const uint64_t step = kSourceRate;
    // Source frames up to the right neighbour of the last output frame.
    const uint32_t needed = static_cast<uint32_t>((position_ + (frames - 1) * step) / rate) + 2;
    if (needed > held_) {
        source_.Render(frames_.data() + 2 * size_t{held_}, static_cast<int32_t>(needed - held_));
        held_ = needed;
    }
    const int16_t* in = frames_.data();
    const float toFraction = 1.0f / static_cast<float>(rate);
    uint64_t at = position_;
    for (uint32_t i = 0; i < frames; ++i, at += step) {
        const size_t index = at / rate;
        const float fraction = static_cast<float>(at % rate) * toFraction;
        const int16_t* a = in + 2 * index;
        left[i] = (a[0] + (a[2] - a[0]) * fraction) * kScale;
        right[i] = (a[1] + (a[3] - a[1]) * fraction) * kScale;
    }
    // Keep the frames the next output frame still needs (at most two); when
    // it lies beyond what was rendered, the frames up to it are rendered
    // next cycle and skipped.
    const uint64_t next = position_ + frames * step;
    const uint32_t drop = static_cast<uint32_t>(std::min<uint64_t>(next / rate, held_));
    std::memmove(frames_.data(), frames_.data() + 2 * size_t{drop}, 2 * size_t{held_ - drop} * sizeof(int16_t));
    held_ -= drop;
    position_ = next - uint64_t{drop} * rate;
}

} // namespace quorvel
