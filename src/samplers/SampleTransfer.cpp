#include "samplers/SampleTransfer.h"

#include <algorithm>
#include <type_traits>

#include "document/WaveSample.h"
#include "samplers/SamplerExceptions.h"

namespace quorvel {

namespace {

int32_t Percent(uint32_t done, uint32_t total)
{
    return total == 0 ? 100 : static_cast<int32_t>(uint64_t(done) * 100 / total);
}

constexpr size_t kMostWordsReservedAhead = size_t(1) << 26;

uint32_t ChannelsOf(const SampleInfo& info) { return std::max<uint32_t>(info.channelCount, 1); }

template <class To, class From>
To Word(From value)
{
    if constexpr (sizeof(To) == sizeof(From))
        return value;
    else if constexpr (sizeof(To) > sizeof(From))
        return static_cast<To>(static_cast<uint32_t>(static_cast<uint16_t>(value)) << 16);
    else
        return static_cast<To>(value >> 16);
}

// Sends the chunks in words of type Out from interleaved source words; the
// frames past the source's end stay zero.
template <class Out, class In>
void SendChunks(CABCSampleTransmitter& transmitter, const SampleInfo& info, std::span<const In> source,
                CABCTransferProgress& progress)
{
    const uint32_t channels = ChannelsOf(info);
    const uint32_t sourceFrames = static_cast<uint32_t>(source.size() / channels);
    std::vector<Out> buffer(size_t(std::max<uint32_t>(transmitter.ChunkSize(), 1)) * channels);
    uint32_t frames = 0;
    while (transmitter.NextChunkSize(frames)) {
        progress.SetPercent(Percent(transmitter.FramesDone(), transmitter.FramesTotal()));
        if (progress.CancelRequested()) {
            transmitter.StopIfActive();
            throw XSampleTransmitCancelled();
        }
        const uint32_t first = transmitter.FramesDone();
        const uint32_t available = first < sourceFrames ? std::min(frames, sourceFrames - first) : 0;
        const In* from = available > 0 ? source.data() + size_t(first) * channels : nullptr;
        if constexpr (std::is_same_v<In, Out>) {
            // Words of the right width go straight from the source.
            if (available > 0 && available == frames) {
                transmitter.TransmitNext(from);
                continue;
            }
        }
        const size_t words = size_t(available) * channels;
        std::transform(from, from + words, buffer.begin(), Word<Out, In>);
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(words), buffer.end(), Out(0));
        transmitter.TransmitNext(buffer.data());
    }
    progress.SetPercent(100);
}

template <class In>
void RunTransmission(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                     std::span<const In> source, CABCTransferProgress& progress)
{
    int32_t wordsPerFrame = 0;
    transmitter.StartTransmission(info, wordsPerFrame, argument);
    // 0: samples of up to 8 bits, carried in the top byte of 16-bit words.
    if (wordsPerFrame == 0 || wordsPerFrame == 1)
        SendChunks<int16_t>(transmitter, info, source, progress);
    else if (wordsPerFrame == 2)
        SendChunks<int32_t>(transmitter, info, source, progress);
    else {
        transmitter.StopIfActive();
        throw XExternalDeviceException();
    }
}

} // namespace

void TransmitSample(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                    std::span<const int16_t> source, CABCTransferProgress& progress)
{
    RunTransmission(transmitter, info, argument, source, progress);
}

void TransmitSample(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                    std::span<const int32_t> source, CABCTransferProgress& progress)
{
    RunTransmission(transmitter, info, argument, source, progress);
}

void TransmitSample(CABCSampleTransmitter& transmitter, const SampleInfo& info, int32_t argument,
                    const WAVE_SAMPLE& source, CABCTransferProgress& progress)
{
    std::vector<int16_t> words(static_cast<size_t>(std::max(source.Length(), 0)));
    for (size_t i = 0; i < words.size(); ++i)
        words[i] = source.Value(static_cast<int32_t>(i));
    RunTransmission(transmitter, info, argument, std::span<const int16_t>(words), progress);
}

SReceivedSample ReceiveSample(CABCSampleReceiver& receiver, int32_t argument, CABCTransferProgress& progress)
{
    SReceivedSample received;
    int32_t wordsPerFrame = 0;
    receiver.BeginReception(received.info, argument, wordsPerFrame);
    // Room for what the header announces, within reason: a header may lie.
    const size_t announced = size_t(received.info.length) * ChannelsOf(received.info);
    const size_t reserved = std::min<size_t>(announced, kMostWordsReservedAhead);
    if (wordsPerFrame == 2)
        received.wide.reserve(reserved);
    else
        received.narrow.reserve(reserved);
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
        const size_t count = size_t(frames) * ChannelsOf(received.info);
        if (words.narrow)
            received.narrow.insert(received.narrow.end(), words.narrow, words.narrow + count);
        else if (words.wide)
            received.wide.insert(received.wide.end(), words.wide, words.wide + count);
    }
    progress.SetPercent(100);
    return received;
}

} // namespace quorvel
