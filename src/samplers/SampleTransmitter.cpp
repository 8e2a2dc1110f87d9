#include "samplers/SampleTransmitter.h"

#include <algorithm>

namespace quorvel {

uint32_t CABCSampleTransmitter::StartTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument)
{
    framesTotal_ = info.length;
    framesDone_ = 0;
    BeginTransmission(info, wordsPerFrame, argument);
    return chunkSize_;
}

bool CABCSampleTransmitter::NextChunkSize(uint32_t& frames) const
{
    if (!active_) {
        frames = 0;
        return false;
    }
    frames = framesTotal_ > framesDone_ ? std::min(chunkSize_, framesTotal_ - framesDone_) : 0;
    return true;
}

uint32_t CABCSampleTransmitter::TransmitNext(SSampleWords samples)
{
    uint32_t frames = 0;
    if (!NextChunkSize(frames))
        return 0;
    const uint32_t before = framesDone_;
    TransmitChunk(frames, samples);
    return framesDone_ - before;
}

void CABCSampleTransmitter::StopIfActive()
{
    if (active_)
        AbortTransmission();
}

void CABCSampleTransmitter::StopQuietly() noexcept
{
    try {
        StopIfActive();
    } catch (...) {
        // The sampler is gone or refuses; the transfer is over either way.
    }
    active_ = false;
}

} // namespace quorvel
