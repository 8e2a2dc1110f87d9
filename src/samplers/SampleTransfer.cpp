#include "samplers/SampleTransfer.h"

#include <algorithm>

#include "document/WaveSample.h"
#include "samplers/SamplerExceptions.h"

namespace quorvel {

namespace {

int32_t Percent(uint32_t done, uint32_t total)
{
    return total == 0 ? 100 : static_cast<int32_t>(uint64_t(done) * 100 / total);
}

// Sends the chunks, asking `copy(first, count, destination)` for the source
// frames that exist; the rest of each chunk stays zero.
template <class CopyFrames>
void RunTransmission(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                     uint32_t sourceFrames, CopyFrames copy, CABCTransferProgress& progress)
{
    int32_t wordsPerFrame = 0;
    const uint32_t chunk = transmitter.StartTransmission(info, wordsPerFrame, argument);
    if (wordsPerFrame != 1) {
        transmitter.StopIfActive();
        throw XExternalDeviceException();
    }
    // Room for every channel of a chunk, so that a transmitter of a stereo
    // sample never reads past the buffer; the source fills the first channel's worth.
    std::vector<int16_t> buffer(size_t(std::max<uint32_t>(chunk, 1)) * std::max<uint8_t>(info.channelCount, 1));
    uint32_t frames = 0;
    while (transmitter.NextChunkSize(frames)) {
        progress.SetPercent(Percent(transmitter.FramesDone(), transmitter.FramesTotal()));
        if (progress.CancelRequested()) {
            transmitter.StopIfActive();
            throw XSampleTransmitCancelled();
        }
        std::fill(buffer.begin(), buffer.end(), int16_t(0));
        const uint32_t first = transmitter.FramesDone();
        if (first < sourceFrames)
            copy(first, std::min(frames, sourceFrames - first), buffer.data());
        transmitter.TransmitNext(buffer.data());
    }
    progress.SetPercent(100);
}

} // namespace

void TransmitSample(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                    std::span<const int16_t> source, CABCTransferProgress& progress)
{
    RunTransmission(
        transmitter, info, argument, static_cast<uint32_t>(source.size()),
        [&](uint32_t first, uint32_t count, int16_t* destination) {
            std::copy_n(source.data() + first, count, destination);
        },
        progress);
}

void TransmitSample(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                    const WAVE_SAMPLE& source, CABCTransferProgress& progress)
{
    RunTransmission(
        transmitter, info, argument, static_cast<uint32_t>(std::max(source.Length(), 0)),
        [&](uint32_t first, uint32_t count, int16_t* destination) {
            for (uint32_t i = 0; i < count; ++i)
                destination[i] = source.Value(static_cast<int32_t>(first + i));
        },
        progress);
}

SReceivedSample ReceiveSample(CABCSampleReceiver& receiver, int32_t argument, CABCTransferProgress& progress)
{
    SReceivedSample received;
    int32_t wordsPerFrame = 0;
    receiver.BeginReception(received.info, argument, wordsPerFrame);
    uint32_t frames = 0;
    SSampleWords words;
    for (;;) {
        progress.SetPercent(Percent(receiver.FramesDone(), receiver.FramesTotal()));
        if (progress.CancelRequested()) {
            if (receiver.IsActive())
                receiver.AbortReception();
            throw XSampleReceiveCancelled();
        }
        if (!receiver.ReceiveNext(frames, words))
            break;
        // A chunk holds `frames` frames of every channel, interleaved.
        const size_t count = size_t(frames) * std::max<uint8_t>(received.info.channelCount, 1);
        if (words.narrow)
            received.narrow.insert(received.narrow.end(), words.narrow, words.narrow + count);
        else if (words.wide)
            received.wide.insert(received.wide.end(), words.wide, words.wide + count);
    }
    progress.SetPercent(100);
    return received;
}

} // namespace quorvel
