// The plain sample dump sampler's interface: what it says it can hold, and
// the transfers it creates at the numbers asked for.
#include "SDSFixture.h"

#include "samplers/sds/SDSExceptions.h"
#include "samplers/sds/SDSSamplerInterface.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class SDSSamplerInterfaceTest : public SDSFixture {
protected:
    CSDSSamplerInterface sds{output, parser, 0, kTimeout};
};

} // namespace

TEST_F(SDSSamplerInterfaceTest, AdaptingKeepsOnlyWhatADumpHeaderCarries)
{
    SampleInfo info = Info(16, 1000);
    info.SetName("Kick");
    info.channelCount = 2;
    info.rootKey = 36;
    info.fineTuning = 12;
    info.releaseLoop = {2, 10, 20};
    info.playStart = 5;
    EXPECT_FALSE(sds.IsSampleInfoExact(info));
    sds.AdaptSampleInfo(info);
    EXPECT_EQ(info.Name(), "");
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(info.rootKey, 60);
    EXPECT_EQ(info.fineTuning, 0);
    EXPECT_EQ(info.releaseLoop.type, 0u);
    EXPECT_EQ(info.playStart, 0u);
    EXPECT_EQ(info.playEnd, 1000u);
    // No loop goes out as "off" with both points at the end, and comes back so.
    EXPECT_EQ(info.sustainLoop.type, uint32_t(SampleLoopType::OffWithMarker));
    EXPECT_EQ(info.sustainLoop.end, 1000u);
    EXPECT_TRUE(sds.IsSampleInfoExact(info)) << "adapting twice changes nothing";

    // The rate is what the period in whole nanoseconds gives back.
    SampleInfo odd = Info(4, 10);
    odd.rate = 96000;
    sds.AdaptSampleInfo(odd);
    EXPECT_EQ(odd.bits, 8);
    EXPECT_EQ(odd.rate, 1000000000u / (1000000000u / 96000));
    SampleInfo wide = Info(32, 10);
    wide.sustainLoop = {uint32_t(SampleLoopType::Forward), 2, 8};
    sds.AdaptSampleInfo(wide);
    EXPECT_EQ(wide.bits, 28);
    EXPECT_EQ(wide.rate, 44100u);
    EXPECT_EQ(wide.sustainLoop.type, uint32_t(SampleLoopType::Forward));
    EXPECT_EQ(wide.sustainLoop.start, 2u);
}

TEST_F(SDSSamplerInterfaceTest, SaysWhatItCanDoAndRefusesTheRest)
{
    SamplerCapabilities capabilities;
    capabilities.brandNumber = 7;
    sds.GetCapabilities(capabilities);
    EXPECT_STREQ(capabilities.protocolName, "MIDI Sample Dump Standard");
    EXPECT_EQ(capabilities.lowestSampleNumber, 0);
    EXPECT_EQ(capabilities.highestSampleNumber, 16383);
    EXPECT_EQ(capabilities.brandNumber, 0);
    EXPECT_EQ(capabilities.features[SamplerCapabilities::kStereoReceiveFlag], 0) << "a dump is mono";

    EXPECT_EQ(sds.GetSampleList(0, 0)->Count(), 0) << "the dump has no directory";
    EXPECT_THROW(sds.DeleteSample(3), XSDSNotInStandard);
    EXPECT_THROW(sds.CreateTransmitter(16384), XSDSSampleNumberOutOfRange);
    EXPECT_THROW(sds.CreateReceiver(-1), XSDSSampleNumberOutOfRange);
    EXPECT_TRUE(output.pieces.empty()) << "nothing was sent";
}

TEST_F(SDSSamplerInterfaceTest, TransfersGoToTheNumberAskedFor)
{
    const std::vector<int16_t> words = Narrow(16, 50);
    const auto transmitter = sds.CreateTransmitter(300);
    EXPECT_EQ(transmitter->GetResultSampleNumber(), 300);
    TransmitSample(*transmitter, Info(16, 50), 0, words, progress);
    ASSERT_EQ(sampler.header.size(), 21u);
    EXPECT_EQ(sampler.header[4], 300 & 0x7F);
    EXPECT_EQ(sampler.header[5], 300 >> 7);

    sampler.ReplayReceived();
    sampler.messages.clear();
    const auto receiver = sds.CreateReceiver(300);
    const SReceivedSample received = ReceiveSample(*receiver, 0, progress);
    EXPECT_EQ(received.narrow, words);
    ASSERT_GE(sampler.messages.size(), 1u);
    EXPECT_EQ(sampler.messages[0], (Bytes{0xF0, 0x7E, 0x00, 0x03, 300 & 0x7F, 300 >> 7, 0xF7}));
}

TEST_F(SDSSamplerInterfaceTest, SampleInfoReadsTheHeaderAndCancelsTheDump)
{
    const std::vector<int16_t> words = Narrow(16, 100);
    SampleInfo sent = Info(16, 100);
    sent.rate = 22050;
    TransmitSample(*sds.CreateTransmitter(4), sent, 0, words, progress);
    sampler.ReplayReceived();
    sampler.messages.clear();

    SampleInfo info;
    sds.GetSampleInfo(info, 4);
    EXPECT_EQ(info.length, 100u);
    EXPECT_EQ(info.rate, 22050u);
    EXPECT_EQ(info.bits, 16);
    ASSERT_EQ(sampler.messages.size(), 2u);
    EXPECT_EQ(sampler.messages[0], (Bytes{0xF0, 0x7E, 0x00, 0x03, 0x04, 0x00, 0xF7}));
    EXPECT_EQ(sampler.messages[1], SdsHandshake(kCancel, 0)) << "no packet is asked for";
    EXPECT_EQ(sampler.cancels, 1);
    EXPECT_TRUE(sampler.acks.empty());
}
