#include "SDSFixture.h"

#include "devices/midi/MIDIExceptions.h"
#include "samplers/sds/SDSExceptions.h"
#include "samplers/sds/SDSMessages.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class SDSReceiverTest : public SDSFixture {
protected:
    CSDSReceiver receiver{output, parser, 0, 9, kTimeout};
    std::vector<int16_t> source = Narrow(16, 400);

    // The sampler holds `source` as a 16-bit sample, recorded from a transmission.
    void Load(uint32_t frames)
    {
        CSDSTransmitter transmitter(output, parser, 0, 9, kTimeout);
        TransmitSample(transmitter, Info(16, frames), 0, source, progress);
        sampler.ReplayReceived();
        sampler.messages.clear();
    }
    std::vector<int16_t> Expected(size_t frames) const
    {
        return std::vector<int16_t>(source.begin(), source.begin() + frames);
    }
};

} // namespace

TEST_F(SDSReceiverTest, RequestsTheSampleAndAcknowledgesEveryPacket)
{
    Load(100);
    const SReceivedSample received = ReceiveSample(receiver, 0, progress);
    EXPECT_EQ(received.narrow, Expected(100));
    EXPECT_EQ(received.info.length, 100u);
    EXPECT_EQ(received.info.rate, 44100u);
    EXPECT_FALSE(receiver.IsActive());
    ASSERT_GE(sampler.messages.size(), 1u);
    EXPECT_EQ(sampler.messages[0], (Bytes{0xF0, 0x7E, 0x00, 0x03, 0x09, 0x00, 0xF7}));
    // ACK 0 for the header, then one ACK per packet.
    ASSERT_EQ(sampler.acks.size(), 4u);
    EXPECT_EQ(sampler.acks[0], SdsHandshake(kAck, 0));
    EXPECT_EQ(sampler.acks[1], SdsHandshake(kAck, 0));
    EXPECT_EQ(sampler.acks[3], SdsHandshake(kAck, 2));
    EXPECT_TRUE(sampler.naks.empty());
}

TEST_F(SDSReceiverTest, ADamagedPacketIsNakedOnceAndTakenWhenItComesIntact)
{
    Load(400);
    sampler.corruptTimes[3] = 1;
    const SReceivedSample received = ReceiveSample(receiver, 0, progress);
    EXPECT_EQ(received.narrow, Expected(400));
    ASSERT_EQ(sampler.naks.size(), 1u);
    EXPECT_EQ(sampler.naks[0], SdsHandshake(kNak, 3));
}

TEST_F(SDSReceiverTest, ADamagedPacketTwiceIsAChecksumError)
{
    Load(400);
    sampler.corruptTimes[3] = 2;
    EXPECT_THROW(ReceiveSample(receiver, 0, progress), XSDSChecksumError);
    EXPECT_EQ(sampler.naks.size(), 1u);
}

TEST_F(SDSReceiverTest, AMisnumberedPacketIsNakedOnce)
{
    Load(400);
    sampler.misnumber[4] = 5;
    const SReceivedSample received = ReceiveSample(receiver, 0, progress);
    EXPECT_EQ(received.narrow, Expected(400));
    EXPECT_EQ(sampler.naks, std::vector<Bytes>{SdsHandshake(kNak, 4)});
}

TEST_F(SDSReceiverTest, CancelFromTheSamplerFinishesWithoutNak)
{
    Load(400);
    sampler.dumpCancelAt = 6;
    EXPECT_THROW(ReceiveSample(receiver, 0, progress), XSDSCancelled);
    EXPECT_FALSE(receiver.IsActive());
    EXPECT_TRUE(sampler.naks.empty());
    EXPECT_EQ(sampler.cancels, 0);
}

TEST_F(SDSReceiverTest, SilenceIsNakedOnceThenTimesOut)
{
    Load(400);
    sampler.dumpSilentAt = 2;
    const uint64_t start = clock.now;
    EXPECT_THROW(ReceiveSample(receiver, 0, progress), XSysexTimedOut);
    EXPECT_EQ(sampler.naks, std::vector<Bytes>{SdsHandshake(kNak, 2)});
    EXPECT_GE(clock.now - start, 2 * kTimeout);

    sampler.answerRequest = false;
    CSDSReceiver unanswered(output, parser, 0, 9, kTimeout);
    EXPECT_THROW(ReceiveSample(unanswered, 0, progress), XSysexTimedOut);
}

TEST_F(SDSReceiverTest, AnswersOtherThanAHeaderOrWithWordsAbove28BitsAreRefused)
{
    sampler.dumpHeader = SdsHandshake(kAck, 0);
    EXPECT_THROW(ReceiveSample(receiver, 0, progress), XSDSUnexpectedSysex);

    Load(100);
    sampler.dumpHeader[6] = 29;
    CSDSReceiver wide(output, parser, 0, 9, kTimeout);
    SampleInfo info;
    int32_t words = 0;
    EXPECT_THROW(wide.BeginReception(info, 0, words), XSDSUnexpectedSysex);
    EXPECT_FALSE(wide.IsActive());
    EXPECT_TRUE(sampler.acks.empty());
}

TEST_F(SDSReceiverTest, DroppingAnActiveReceiverCancelsAtTheExpectedPacket)
{
    Load(400);
    {
        CSDSReceiver dropped(output, parser, 0, 9, kTimeout);
        SampleInfo info;
        int32_t words = 0;
        dropped.BeginReception(info, 0, words);
        uint32_t frames = 0;
        SSampleWords samples;
        dropped.ReceiveNext(frames, samples);
        dropped.ReceiveNext(frames, samples);
        EXPECT_EQ(frames, 40u);
    }
    EXPECT_EQ(sampler.cancels, 1);
    EXPECT_EQ(sampler.messages.back(), SdsHandshake(kCancel, 2));
}

TEST_F(SDSReceiverTest, AnEmptySampleEndsWithTheHeader)
{
    Load(0);
    const SReceivedSample received = ReceiveSample(receiver, 0, progress);
    EXPECT_TRUE(received.narrow.empty());
    EXPECT_FALSE(receiver.IsActive());
}

// Every format from 8 to 28 bits, through the sampler and back: what went out
// carries the words' significant bits as the standard lays them out, and
// what comes back is bit for bit what was sent.
TEST_F(SDSReceiverTest, EveryFormatRoundTripsBitExactly)
{
    for (int bits = 8; bits <= 28; ++bits) {
        SCOPED_TRACE(bits);
        const uint32_t frames = bits == 16 ? 130 * 40 + 7 : 250; // 16 bits: past the packet number wrap
        std::vector<int32_t> significant;
        {
            CSDSTransmitter transmitter(output, parser, 0, static_cast<uint16_t>(bits), kTimeout);
            if (bits <= 16) {
                source = Narrow(bits, frames, static_cast<unsigned>(bits));
                TransmitSample(transmitter, Info(static_cast<uint8_t>(bits), frames), 0, source, progress);
                for (int16_t word : source)
                    significant.push_back(word >> (16 - bits));
            } else {
                const std::vector<int32_t> wide = Wide(bits, frames, static_cast<unsigned>(bits));
                SendWide(transmitter, Info(static_cast<uint8_t>(bits), frames), wide);
                for (int32_t word : wide)
                    significant.push_back(word >> (32 - bits));
            }
            EXPECT_FALSE(transmitter.IsActive());
        }
        ASSERT_EQ(sampler.header[6], bits);
        const size_t perPacket = 120 / SdsBytesPerWord(bits);
        std::vector<int32_t> onWire;
        for (const Bytes& payload : sampler.payloads) {
            auto words = SdsSignificantWords(payload, bits, perPacket);
            onWire.insert(onWire.end(), words.begin(), words.end());
        }
        onWire.resize(frames);
        EXPECT_EQ(onWire, significant);

        sampler.ReplayReceived();
        CSDSReceiver back(output, parser, 0, static_cast<uint16_t>(bits), kTimeout);
        const SReceivedSample received = ReceiveSample(back, 0, progress);
        EXPECT_EQ(received.info.bits, bits);
        if (bits <= 16) {
            EXPECT_EQ(received.narrow, source);
        } else {
            EXPECT_EQ(received.wide, Wide(bits, frames, static_cast<unsigned>(bits)));
        }
    }
}
