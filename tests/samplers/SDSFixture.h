#pragma once
// A program side and a scripted sampler joined by a recording output and a
// scripted input on a simulated clock.
#include <gtest/gtest.h>

#include <random>

#include "ScriptedMIDIPorts.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/SampleTransfer.h"
#include "samplers/sds/SDSReceiver.h"
#include "samplers/sds/SDSTransmitter.h"
#include "FakeSDSSampler.h"

namespace quorvel::test {

// Sends 32-bit words (a format above 16 bits) chunk by chunk, as the transfer
// loop would.
inline void SendWideWords(CSDSTransmitter& transmitter, const SampleInfo& info, const std::vector<int32_t>& words)
{
    int32_t perFrame = 0;
    transmitter.StartTransmission(info, perFrame, 0);
    ASSERT_EQ(perFrame, 2);
    uint32_t frames = 0;
    while (transmitter.NextChunkSize(frames))
        transmitter.TransmitNext(words.data() + transmitter.FramesDone());
}

class QuietProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t percent) override { last = percent; }
    bool CancelRequested() override { return ++asked == cancelAtAsk; }
    int32_t last = -1;
    int asked = 0;
    int cancelAtAsk = -1;
};

class SDSFixture : public ::testing::Test, protected ScriptedMIDIPorts {
protected:
    static constexpr uint32_t kTimeout = 5000;

    FakeSDSSampler sampler{clock, input, output};
    QuietProgress progress;

    static SampleInfo Info(uint8_t bits, uint32_t length)
    {
        SampleInfo info;
        info.channelCount = 1;
        info.bits = bits;
        info.rate = 44100;
        info.length = length;
        return info;
    }

    // Words with only their `bits` top bits set, extremes first.
    static std::vector<int16_t> Narrow(int bits, size_t count, unsigned seed = 1)
    {
        std::mt19937 random(seed);
        std::vector<int16_t> words{INT16_MIN, INT16_MAX, 0, -1, 1};
        words.resize(count);
        const uint16_t mask = static_cast<uint16_t>(0xFFFF << (16 - bits));
        for (size_t i = 0; i < count; ++i) {
            const uint16_t raw = i < 5 ? static_cast<uint16_t>(words[i]) : static_cast<uint16_t>(random());
            words[i] = static_cast<int16_t>(raw & mask);
        }
        return words;
    }
    static std::vector<int32_t> Wide(int bits, size_t count, unsigned seed = 1)
    {
        std::mt19937 random(seed);
        std::vector<int32_t> words{INT32_MIN, INT32_MAX, 0, -1, 1};
        words.resize(count);
        const uint32_t mask = 0xFFFFFFFFu << (32 - bits);
        for (size_t i = 0; i < count; ++i) {
            const uint32_t raw = i < 5 ? static_cast<uint32_t>(words[i]) : static_cast<uint32_t>(random());
            words[i] = static_cast<int32_t>(raw & mask);
        }
        return words;
    }

    void SendWide(CSDSTransmitter& transmitter, const SampleInfo& info, const std::vector<int32_t>& words)
    {
        SendWideWords(transmitter, info, words);
    }
};

} // namespace quorvel::test
