#pragma once
// Mono 16-bit slices for the sampler interface tests, and the transfer
// loop's way of driving a transmitter and a receiver chunk by chunk.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "samplers/SampleInfo.h"
#include "samplers/SampleReceiver.h"
#include "samplers/SampleTransmitter.h"
#include "samplers/SampleWords.h"

namespace quorvel::test {

// The extremes first, then words from `seed`.
inline std::vector<int16_t> SeededWords(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<int16_t> words{INT16_MIN, INT16_MAX, 0, -1, 1};
    while (words.size() < count)
        words.push_back(static_cast<int16_t>(random()));
    words.resize(count);
    return words;
}

// 16 bits at 44.1 kHz, played to its end.
inline SampleInfo MonoSlice(const std::string& name, uint32_t length, uint8_t rootKey = 36)
{
    SampleInfo info;
    info.SetName(name);
    info.channelCount = 1;
    info.bits = 16;
    info.rate = 44100;
    info.length = length;
    info.playEnd = length;
    info.rootKey = rootKey;
    return info;
}

// Returns the number the sampler gave the sample.
inline int32_t SendMonoWords(CABCSampleTransmitter& transmitter, const SampleInfo& info,
                             const std::vector<int16_t>& words)
{
    int32_t perFrame = 0;
    transmitter.StartTransmission(info, perFrame, 0);
    EXPECT_EQ(perFrame, 1);
    uint32_t frames = 0;
    while (transmitter.NextChunkSize(frames))
        transmitter.TransmitNext(words.data() + transmitter.FramesDone());
    return transmitter.GetResultSampleNumber();
}

// `argument` as BeginReception takes it.
inline std::vector<int16_t> ReceiveMonoWords(CABCSampleReceiver& receiver, SampleInfo& info, int32_t argument = 0)
{
    int32_t perFrame = 0;
    receiver.BeginReception(info, argument, perFrame);
    EXPECT_EQ(perFrame, 1);
    std::vector<int16_t> words;
    uint32_t frames = 0;
    SSampleWords chunk;
    while (receiver.ReceiveNext(frames, chunk))
        words.insert(words.end(), chunk.narrow, chunk.narrow + frames);
    return words;
}

} // namespace quorvel::test
