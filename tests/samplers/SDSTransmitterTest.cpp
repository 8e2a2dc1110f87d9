#include "SDSFixture.h"

#include "devices/midi/MIDIExceptions.h"
#include "samplers/sds/SDSExceptions.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class SDSTransmitterTest : public SDSFixture {
protected:
    CSDSTransmitter transmitter{output, parser, 0, 7, kTimeout};
    std::vector<int16_t> source = Narrow(16, 400);

    void Transmit(uint32_t frames) { TransmitSample(transmitter, Info(16, frames), 0, source, progress); }
};

} // namespace

TEST_F(SDSTransmitterTest, SendsTheHeaderThenNumberedPacketsEachAfterItsAck)
{
    // A stale answer from before the header never counts for it.
    input.Now(SdsHandshake(kNak, 0));
    Transmit(100);
    EXPECT_FALSE(transmitter.IsActive());
    ASSERT_EQ(sampler.header.size(), 21u);
    EXPECT_EQ(sampler.header[4], 7);
    ASSERT_EQ(sampler.packets.size(), 3u);
    for (uint8_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sampler.packets[i][4], i);
        EXPECT_EQ(sampler.packets[i][125], SdsChecksum(sampler.packets[i]));
    }
    // 40, 40 and 20 words; 60 zero bytes close the last packet.
    const Bytes& last = sampler.packets[2];
    EXPECT_TRUE(std::all_of(last.begin() + 65, last.begin() + 125, [](uint8_t b) { return b == 0; }));
    EXPECT_NE(last[64], 0); // the last word's third byte (an odd sample's low bits)
    std::vector<int32_t> sent;
    for (const Bytes& payload : sampler.payloads) {
        auto words = SdsSignificantWords(payload, 16, 40);
        sent.insert(sent.end(), words.begin(), words.end());
    }
    sent.resize(100);
    EXPECT_EQ(sent, std::vector<int32_t>(source.begin(), source.begin() + 100));
    // Exactly one packet in flight: each left after the ACK of the one before.
    EXPECT_EQ(sampler.messages.size(), 4u);
    EXPECT_EQ(progress.last, 100);
}

TEST_F(SDSTransmitterTest, PacketNumbersWrapAfter127)
{
    source = Narrow(16, 130 * 40);
    Transmit(130 * 40);
    ASSERT_EQ(sampler.packets.size(), 130u);
    EXPECT_EQ(sampler.packets[127][4], 127);
    EXPECT_EQ(sampler.packets[128][4], 0);
    EXPECT_EQ(sampler.packets[129][4], 1);
}

TEST_F(SDSTransmitterTest, ANakedPacketGoesOutOnceMoreThenTheNextFollows)
{
    sampler.nakTimes[5] = 1;
    Transmit(400);
    ASSERT_EQ(sampler.packets.size(), 11u);
    EXPECT_EQ(sampler.packets[5], sampler.packets[6]);
    EXPECT_EQ(sampler.packets[7][4], 6);
    EXPECT_EQ(sampler.payloads.size(), 10u);
    EXPECT_FALSE(transmitter.IsActive());
}

TEST_F(SDSTransmitterTest, SecondNakFailsAndTheDroppedTransmitterCancels)
{
    {
        CSDSTransmitter dropped(output, parser, 0, 7, kTimeout);
        sampler.nakTimes[5] = 2;
        EXPECT_THROW(TransmitSample(dropped, Info(16, 400), 0, source, progress), XSDSNotAcknowledged);
        EXPECT_EQ(sampler.packets.size(), 7u);
        EXPECT_EQ(sampler.cancels, 0);
    }
    ASSERT_EQ(sampler.cancels, 1);
    EXPECT_EQ(sampler.messages.back(), SdsHandshake(kCancel, 5));
}

TEST_F(SDSTransmitterTest, AnAnswerNamingAnotherPacketFails)
{
    sampler.ackNumberFor[3] = 4;
    EXPECT_THROW(Transmit(400), XSDSInvalidPacketIndex);
    EXPECT_EQ(sampler.packets.size(), 4u);
}

TEST_F(SDSTransmitterTest, AnythingButAckOrNakWhereAHandshakeBelongsFails)
{
    sampler.answerInstead[2] = {0xF0, 0x7E, 0x00, 0x03, 0x07, 0x00, 0xF7};
    EXPECT_THROW(Transmit(400), XSDSUnexpectedSysex);
    EXPECT_EQ(sampler.packets.size(), 3u);
    // Answers for another device are not answers at all.
    CSDSTransmitter other(output, parser, 0, 7, kTimeout);
    sampler.answerInstead[12] = SdsHandshake(kAck, 1, 3);
    EXPECT_THROW(TransmitSample(other, Info(16, 400), 0, source, progress), XSysexTimedOut);
}

TEST_F(SDSTransmitterTest, AHeaderAnsweredOtherwiseThanWithAckFails)
{
    sampler.headerAnswer = kNak;
    EXPECT_THROW(Transmit(100), XSDSUnexpectedSysex);
    EXPECT_TRUE(sampler.packets.empty());
}

TEST_F(SDSTransmitterTest, WaitHoldsTheTransmitterUpToThirtySeconds)
{
    sampler.waitBefore[2] = 20000;
    const uint64_t start = clock.now;
    Transmit(400);
    EXPECT_FALSE(transmitter.IsActive());
    EXPECT_EQ(sampler.payloads.size(), 10u);
    EXPECT_GE(clock.now - start, 20000u);

    CSDSTransmitter patient(output, parser, 0, 7, kTimeout);
    sampler.waitBefore[1] = 31000;
    const uint64_t waited = clock.now;
    EXPECT_THROW(TransmitSample(patient, Info(16, 400), 0, source, progress), XSysexTimedOut);
    EXPECT_GE(clock.now - waited, 30000u);
    EXPECT_LT(clock.now - waited, 31000u);
}

TEST_F(SDSTransmitterTest, CancelFromTheSamplerFinishesAtOnce)
{
    sampler.cancelAtPacket = 7;
    EXPECT_THROW(Transmit(400), XSDSCancelled);
    EXPECT_FALSE(transmitter.IsActive());
    EXPECT_EQ(sampler.packets.size(), 8u);
    // Nothing goes back to a sampler that cancelled.
    EXPECT_EQ(sampler.cancels, 0);
}

TEST_F(SDSTransmitterTest, SilenceEndsWithATimeOutAfterTheReplyTime)
{
    sampler.silentAtPacket = 2;
    const uint64_t start = clock.now;
    EXPECT_THROW(Transmit(400), XSysexTimedOut);
    EXPECT_EQ(sampler.packets.size(), 3u);
    EXPECT_GE(clock.now - start, kTimeout);
    EXPECT_LT(clock.now - start, kTimeout + 100);

    sampler.headerAnswer.reset();
    CSDSTransmitter unanswered(output, parser, 0, 7, kTimeout);
    EXPECT_THROW(TransmitSample(unanswered, Info(16, 400), 0, source, progress), XSysexTimedOut);
}

TEST_F(SDSTransmitterTest, TheUsersCancelSendsCancelWithTheCurrentPacket)
{
    progress.cancelAtAsk = 4; // before the fourth call: packets 0..2 are out
    EXPECT_THROW(Transmit(400), XSampleTransmitCancelled);
    EXPECT_FALSE(transmitter.IsActive());
    EXPECT_EQ(sampler.packets.size(), 3u);
    EXPECT_EQ(sampler.cancels, 1);
    EXPECT_EQ(sampler.messages.back(), SdsHandshake(kCancel, 2));
}

TEST_F(SDSTransmitterTest, SamplesTooLongForTheHeaderAreRefusedBeforeSending)
{
    int32_t words = 0;
    EXPECT_THROW(transmitter.StartTransmission(Info(16, 0x200000), words, 0), XSDSSampleTooLong);
    EXPECT_TRUE(sampler.messages.empty());
    EXPECT_FALSE(transmitter.IsActive());
}

TEST_F(SDSTransmitterTest, AConnectionGivesChannelAndResultingNumber)
{
    FakeSDSSampler onChannel5(clock, input, output, 5);
    CSysexConnection connection(parser, output, 0x41, 5);
    CSDSTransmitter fromConnection(connection, 300, kTimeout);
    EXPECT_EQ(fromConnection.GetResultSampleNumber(), 300);
    EXPECT_EQ(transmitter.GetResultSampleNumber(), -1);
    TransmitSample(fromConnection, Info(16, 50), 0, source, progress);
    EXPECT_EQ(onChannel5.header[2], 5);
    EXPECT_EQ(onChannel5.payloads.size(), 2u);
}

TEST_F(SDSTransmitterTest, EmptySampleSendsOnlyTheHeader)
{
    Transmit(0);
    EXPECT_FALSE(transmitter.IsActive());
    EXPECT_EQ(sampler.messages.size(), 1u);
}
