#pragma once
// Sends one sample into a sampler, chunk by chunk: the transfer loop starts
// it, then hands it the next chunk until it reports that nothing is left.
#include <cstdint>

#include "samplers/SampleInfo.h"
#include "samplers/SampleWords.h"

namespace quorvel {

class CABCSampleTransmitter {
public:
    CABCSampleTransmitter() = default;
    // Finishes without talking to the sampler: a derived transmitter stops an
    // active transfer in its own destructor (see StopQuietly).
    virtual ~CABCSampleTransmitter() = default;
    CABCSampleTransmitter(const CABCSampleTransmitter&) = delete;
    CABCSampleTransmitter& operator=(const CABCSampleTransmitter&) = delete;

    // The sample's number on the sampler once known, or -1.
    virtual int32_t GetResultSampleNumber() const { return resultSampleNumber_; }
    // Sends the brand's header, sets the chunk size and becomes active.
    // `wordsPerFrame`: 1 for 16-bit words, 2 for 32-bit ones.
    virtual void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) = 0;
    // Sends `frames` frames and counts them done; with nothing left, completes
    // the last handshake and finishes.
    virtual void TransmitChunk(uint32_t frames, SSampleWords samples) = 0;
    // Tells the sampler to stop, then finishes.
    virtual void AbortTransmission() { FinishTransmission(); }
    virtual void FinishTransmission() { active_ = false; }

    // Frames total from the info, then BeginTransmission; returns the chunk size.
    uint32_t StartTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument);
    // While active: the frames of the next chunk (0 once all are done, when
    // only the last handshake remains) and true; otherwise 0 and false.
    bool NextChunkSize(uint32_t& frames) const;
    // Sends the next chunk; returns the frames it took.
    uint32_t TransmitNext(SSampleWords samples);
    void AdvanceDone(uint32_t frames) { framesDone_ += frames; }
    void SetResultSampleNumber(int32_t number) { resultSampleNumber_ = number; }
    void StopIfActive();

    bool IsActive() const { return active_; }
    uint32_t ChunkSize() const { return chunkSize_; }
    uint32_t FramesDone() const { return framesDone_; }
    uint32_t FramesTotal() const { return framesTotal_; }

protected:
    void Activate(uint32_t chunkSize)
    {
        chunkSize_ = chunkSize;
        active_ = true;
    }
    // For destructors: stops an active transfer, swallowing its failures.
    void StopQuietly() noexcept;

private:
    bool active_ = false;
    uint32_t chunkSize_ = 0;
    uint32_t framesDone_ = 0;
    uint32_t framesTotal_ = 0;
    int32_t resultSampleNumber_ = -1;
};

} // namespace quorvel
