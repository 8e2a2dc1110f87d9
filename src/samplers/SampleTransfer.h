#pragma once
// The chunk loops that move one sample through a transmitter or a receiver,
// with a progress display and a cancel request between chunks. The display
// is whatever implements CABCTransferProgress (the progress window, the
// command-line tool, a test).
#include <cstdint>
#include <span>
#include <vector>

#include "samplers/SampleInfo.h"
#include "samplers/SampleReceiver.h"
#include "samplers/SampleTransmitter.h"

namespace quorvel {

class WAVE_SAMPLE;

class CABCTransferProgress {
public:
    virtual ~CABCTransferProgress() = default;
    // 0 to 100.
    virtual void SetPercent(int32_t percent) = 0;
    // Asked between chunks; true stops the transfer.
    virtual bool CancelRequested() = 0;
};

// Starts the transmitter with `info` and sends `info.length` frames taken
// from `source` from its first frame; frames past the source's end go out
// as zeros. A frame is `info.channelCount` words, interleaved (at least one).
// The words go out in the width the transmitter asks for (samples of up to
// 8 bits in the top byte of 16-bit words): 16-bit words
// widen exactly to 32-bit left-justified ones, and 32-bit words keep their
// top 16 bits for a 16-bit transmitter. A cancel stops the transmitter (the
// sampler hears the brand's cancel) and throws XSampleTransmitCancelled.
void TransmitSample(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                    std::span<const int16_t> source, CABCTransferProgress& progress);
void TransmitSample(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                    std::span<const int32_t> source, CABCTransferProgress& progress);
// A mono sound.
void TransmitSample(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                    const WAVE_SAMPLE& source, CABCTransferProgress& progress);

struct SReceivedSample {
    SampleInfo info;
    // One word per channel and frame, interleaved; 32-bit words are kept as
    // they came (left-justified).
    std::vector<int16_t> narrow;
    std::vector<int32_t> wide;
};

// The argument the receive flow hands a receiver: receivers that choose
// their packet size (SMDI) ask for as many frames a packet as the sampler
// will send, so that a long sample takes few commands.
constexpr int32_t kWantedFramesPerPacket = 65536;

// Begins the reception and collects every chunk. A cancel aborts the
// receiver and throws XSampleReceiveCancelled.
SReceivedSample ReceiveSample(CABCSampleReceiver& receiver, int32_t argument, CABCTransferProgress& progress);

} // namespace quorvel
