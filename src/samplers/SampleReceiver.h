#pragma once
// Brings one sample back from a sampler, chunk by chunk.
#include <cstdint>

#include "samplers/SampleInfo.h"
#include "samplers/SampleWords.h"

namespace quorvel {

class CABCSampleReceiver {
public:
    CABCSampleReceiver() = default;
    // A derived receiver stops an active transfer in its own destructor (see
    // StopQuietly).
    virtual ~CABCSampleReceiver() = default;
    CABCSampleReceiver(const CABCSampleReceiver&) = delete;
    CABCSampleReceiver& operator=(const CABCSampleReceiver&) = delete;

    // Requests the sample, reads its header into `info`, sets the chunk size
    // and starts. `wordsPerFrame`: 1 for 16-bit words, 2 for 32-bit ones.
    virtual void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) = 0;
    // The next `frames` frames, decoded; valid until the next call.
    virtual SSampleWords ReceiveChunk(uint32_t frames) = 0;
    virtual void AbortReception() { FinishReception(); }
    virtual void AddDone(uint32_t frames) { framesDone_ += frames; }
    virtual void SetTotal(uint32_t frames) { framesTotal_ = frames; }
    virtual void StartReception(uint32_t total)
    {
        active_ = true;
        framesTotal_ = total;
        framesDone_ = 0;
    }
    virtual void FinishReception() { active_ = false; }

    // While active: the frames of the next chunk and true; otherwise 0 and false.
    bool NextChunkSize(uint32_t& frames) const;
    // While active: receives the next chunk, reports the frames it added and
    // the words, and returns true; otherwise 0 frames and false.
    bool ReceiveNext(uint32_t& frames, SSampleWords& samples);

    bool IsActive() const { return active_; }
    uint32_t ChunkSize() const { return chunkSize_; }
    uint32_t FramesDone() const { return framesDone_; }
    uint32_t FramesTotal() const { return framesTotal_; }

protected:
    void SetChunkSize(uint32_t frames) { chunkSize_ = frames; }
    // For destructors: aborts an active transfer, swallowing its failures.
    void StopQuietly() noexcept;

private:
    bool active_ = false;
    uint32_t chunkSize_ = 0;
    uint32_t framesDone_ = 0;
    uint32_t framesTotal_ = 0;
};

} // namespace quorvel
