#include "samplers/SampleReceiver.h"

#include <algorithm>

namespace quorvel {

bool CABCSampleReceiver::NextChunkSize(uint32_t& frames) const
{
    if (!active_) {
        frames = 0;
        return false;
    }
    frames = framesTotal_ > framesDone_ ? std::min(chunkSize_, framesTotal_ - framesDone_) : 0;
    return true;
}

bool CABCSampleReceiver::ReceiveNext(uint32_t& frames, SSampleWords& samples)
{
    uint32_t wanted = 0;
    if (!NextChunkSize(wanted)) {
        frames = 0;
        samples = {};
        return false;
    }
    const uint32_t before = framesDone_;
    samples = ReceiveChunk(wanted);
    frames = framesDone_ - before;
    return true;
}

void CABCSampleReceiver::StopQuietly() noexcept
{
    try {
        if (active_)
            AbortReception();
    } catch (...) {
        // Nothing more can be done for a transfer that is being dropped.
    }
    active_ = false;
}

} // namespace quorvel
