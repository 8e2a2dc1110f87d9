// The AKAI MIDI interface against a scripted sampler on a simulated clock:
// transfers both ways, name lists, deletions, the reply wait and the model
// recognition.
#include <gtest/gtest.h>

#include <random>

#include "MonoSliceTransfer.h"
#include "ScriptedMIDIPorts.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/SamplerBrands.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMIDIInterface.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/akai/AKAIRecognizer.h"
#include "FakeAKAISampler.h"

namespace quorvel {
namespace {

using namespace test;

class AKAIInterface : public ::testing::TestWithParam<uint32_t>, protected ScriptedMIDIPorts {
protected:
    FakeAKAISampler sampler{clock, input, output, GetParam() != 4000};
    CAKAIMIDIInterface akai{output, parser, 0, GetParam()};

    static std::vector<int16_t> Words(size_t count, unsigned seed) { return SeededWords(count, seed); }
    static SampleInfo Slice(const std::string& name, uint32_t length) { return MonoSlice(name, length); }

    int32_t Transmit(const SampleInfo& info, const std::vector<int16_t>& words)
    {
        return SendMonoWords(*akai.CreateMonoTransmitter(0), info, words);
    }

    std::vector<int16_t> Receive(int32_t number, SampleInfo& info)
    {
        return ReceiveMonoWords(*akai.CreateReceiver(number), info);
    }
};

TEST_P(AKAIInterface, ASliceGoesOutAndComesBackBitExactly)
{
    sampler.AddSample("PIANO C3", Words(10, 1));
    const std::vector<int16_t> words = Words(101, 7); // three packets, the last one short
    SampleInfo info = Slice("Funky 01", 101);
    info.sustainLoop = {2, 20, 80};
    akai.AdaptSampleInfo(info);
    EXPECT_EQ(Transmit(info, words), 1);
    ASSERT_EQ(sampler.samples.size(), 2u);
    EXPECT_EQ(sampler.samples[1].Name(), "FUNKY 01");
    EXPECT_EQ(sampler.samples[1].words, words);
    // The header went first, for the new sample after the last one.
    ASSERT_GE(sampler.akaiMessages.size(), 2u);
    EXPECT_EQ(sampler.akaiMessages[1][3], akai::kSampleHeader);
    EXPECT_EQ(sampler.akaiMessages[1][5], 1);

    SampleInfo back;
    EXPECT_EQ(Receive(1, back), words);
    EXPECT_EQ(back, info);
    // The request for the words names the whole sample.
    const Bytes& request = sampler.akaiMessages.back();
    ASSERT_EQ(request.size(), 18u);
    EXPECT_EQ(request[3], akai::kRequestSamplePackets);
    EXPECT_EQ(request[11], 101);
}

TEST_P(AKAIInterface, SlicesOneAfterAnotherGetTheNextNumbers)
{
    // The second slice needs more than 128 packets: their numbers wrap.
    const std::vector<std::vector<int16_t>> slices{Words(40, 11), Words(5200, 12), Words(1, 13)};
    for (size_t k = 0; k < slices.size(); ++k) {
        SampleInfo info = Slice("Loop " + std::to_string(k + 1), static_cast<uint32_t>(slices[k].size()));
        akai.AdaptSampleInfo(info);
        EXPECT_EQ(Transmit(info, slices[k]), static_cast<int32_t>(k));
    }
    for (size_t k = 0; k < slices.size(); ++k) {
        SampleInfo info;
        EXPECT_EQ(Receive(static_cast<int32_t>(k), info), slices[k]) << k;
        EXPECT_EQ(info.Name(), "LOOP " + std::to_string(k + 1));
    }
}

TEST_P(AKAIInterface, ListsInfoAndDeletion)
{
    sampler.AddSample("KICK", Words(40, 2), 22050);
    sampler.AddSample("SNARE", Words(50, 3));
    const std::unique_ptr<CSampleList> list = akai.GetSampleList(0, 0);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Get(1)->Name(), "SNARE");
    EXPECT_EQ(list->Get(1)->Number(), 1);

    SampleInfo info;
    akai.GetSampleInfo(info, 0);
    EXPECT_EQ(info.Name(), "KICK");
    EXPECT_EQ(info.rate, 22050u);
    EXPECT_EQ(info.length, 40u);
    EXPECT_EQ(info.playEnd, 40u);

    akai.DeleteSample(0);
    ASSERT_EQ(sampler.samples.size(), 1u);
    EXPECT_EQ(sampler.samples[0].Name(), "SNARE");
    EXPECT_THROW(akai.DeleteSample(5), XAKAIReceivedError);
    EXPECT_THROW(akai.GetSampleInfo(info, 5), XAKAIReceivedError);

    sampler.programs = {"DRUMS", "BASS"};
    EXPECT_EQ(akai.ProgramNames(), (std::vector<std::string>{"DRUMS", "BASS"}));
    akai.DeleteProgram(0);
    EXPECT_EQ(sampler.programs, (std::vector<std::string>{"BASS"}));
}

TEST_P(AKAIInterface, ANameOnTheSamplerAlreadyStopsBeforeAnythingIsSent)
{
    sampler.AddSample("KICK 1", Words(10, 1));
    const std::unique_ptr<CABCSampleTransmitter> transmitter = akai.CreateMonoTransmitter(0);
    int32_t perFrame = 0;
    EXPECT_THROW(transmitter->StartTransmission(Slice("kick_1", 10), perFrame, 0), XAKAINameIsNotUnique);
    EXPECT_THROW(transmitter->StartTransmission(Slice("Kick 1", 10), perFrame, 0), XSampleNameNotUnique);
    EXPECT_TRUE(sampler.Dump().header.empty());
    EXPECT_EQ(sampler.samples.size(), 1u);
}

TEST_P(AKAIInterface, ASampleMissingAfterTheDumpIsLost)
{
    sampler.dropName = "GONE";
    EXPECT_THROW(Transmit(Slice("gone", 45), Words(45, 4)), XAKAITransmittedSampleLost);
}

TEST_P(AKAIInterface, AnAbortCancelsTheDumpAndLetsTheSamplerSettle)
{
    const std::vector<int16_t> words = Words(200, 5);
    const std::unique_ptr<CABCSampleTransmitter> transmitter = akai.CreateMonoTransmitter(0);
    int32_t perFrame = 0;
    transmitter->StartTransmission(Slice("half", 200), perFrame, 0);
    transmitter->TransmitNext(words.data());
    transmitter->TransmitNext(words.data() + 40);
    const uint64_t before = clock.now;
    transmitter->AbortTransmission();
    EXPECT_FALSE(transmitter->IsActive());
    EXPECT_EQ(sampler.Dump().cancels, 1);
    EXPECT_GE(clock.now - before, 500u);
    EXPECT_TRUE(sampler.samples.empty());
}

TEST_P(AKAIInterface, AdaptsToWhatTheSamplerHolds)
{
    SampleInfo info = Slice("kick_1 with a long name", 10);
    info.channelCount = 2;
    info.bits = 24;
    info.rate = 30000;
    akai.AdaptSampleInfo(info);
    EXPECT_EQ(info.Name(), "KICK 1 WITH");
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(info.bits, 16);
    EXPECT_EQ(info.rate, 44100u);
    info.rate = 22050;
    akai.AdaptSampleInfo(info);
    EXPECT_EQ(info.rate, 22050u);
    info.rate = 8000;
    akai.AdaptSampleInfo(info);
    EXPECT_EQ(info.rate, 22050u);
    EXPECT_TRUE(akai.IsSampleInfoExact(info));
}

TEST_P(AKAIInterface, AWaitExtendsTheReplyWaitToElevenSeconds)
{
    sampler.AddSample("KICK", Words(10, 1));
    sampler.waitThenAnswerAfter = 10500;
    const uint64_t start = clock.now;
    EXPECT_EQ(akai.SampleNames(), (std::vector<std::string>{"KICK"}));
    EXPECT_GE(clock.now - start, 10500u);

    sampler.waitThenAnswerAfter = 11200; // beyond 1 s plus one WAIT
    EXPECT_THROW(akai.SampleNames(), XSysexTimedOut);
}

TEST_P(AKAIInterface, WithoutAWaitTheReplyWaitIsOneSecond)
{
    // A WAIT from another channel does not count.
    input.At(clock.now + 5, SdsHandshake(kWait, 0, 3));
    input.At(clock.now + 1500, Bytes{0xF0, 0x47, 0, 0x05, 0x48, 0, 0, 0xF7});
    const uint64_t start = clock.now;
    EXPECT_THROW(akai.Com().WaitForReply(), XSysexTimedOut);
    EXPECT_LT(clock.now - start, 1500u);
    EXPECT_GE(clock.now - start, 1000u);
}

INSTANTIATE_TEST_SUITE_P(Generations, AKAIInterface, ::testing::Values(4000u, 4100u),
                         [](const auto& info) { return info.param == 4000 ? "S1000" : "S3000"; });

TEST(AKAIRecognition, StatusReportsAndInquiryAnswers)
{
    const CRawSysex s1000{0xF0, 0x47, 2, 0x01, 0x48, 40, 4, 0, 0, 0, 0, 0xF7};
    const CRawSysex s3000{0xF0, 0x47, 0, 0x01, 0x48, 0, 2, 0, 0, 0, 0, 0xF7};
    const SDeviceName out{"Out", "Fake"}, in{"In", "Fake"};
    CAKAIRecognizer recognizer;
    std::vector<SFoundSampler> found = recognizer.RecognizeMIDIMessage({out, in, s1000});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].typeId, 4000u);
    EXPECT_EQ(found[0].sysexId, 2);
    EXPECT_EQ(found[0].osVersion.major, 4);
    EXPECT_EQ(found[0].osVersion.minor, 40);
    found = recognizer.RecognizeMIDIMessage({out, in, s3000});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].typeId, 4100u);
    EXPECT_TRUE(recognizer.RecognizeMIDIMessage({out, in, CRawSysex{0xF0, 0x47, 0, 0x16, 0x48, 0, 0xF7}}).empty());
    EXPECT_TRUE(recognizer.RecognizeMIDIMessage({out, in, CRawSysex{0xF0, 0x7E, 0, 0x06, 0x02, 0xF7}}).empty());

    const auto inquiry = [](uint8_t type, const std::string& vendor, const std::string& product) {
        SSCSITargetSeen target;
        target.id = 4;
        target.inquiry.fill(' ');
        target.inquiry[0] = type;
        std::copy(vendor.begin(), vendor.end(), target.inquiry.begin() + 8);
        std::copy(product.begin(), product.end(), target.inquiry.begin() + 16);
        return target;
    };
    found = recognizer.RecognizeSCSITarget(inquiry(3, "AKAI EMI", "S3000XL SAMPLER"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].typeId, 4151u);
    EXPECT_EQ(found[0].scsiId, 4);
    EXPECT_EQ(recognizer.RecognizeSCSITarget(inquiry(3, "AKAI EMI", "CD3000XL SAMPLER"))[0].typeId, 4171u);
    EXPECT_TRUE(recognizer.RecognizeSCSITarget(inquiry(3, "AKAI EMI", "S1000")).empty());
    EXPECT_TRUE(recognizer.RecognizeSCSITarget(inquiry(3, "AKAI EMI", "S1000 SAMPLER")).empty());
    EXPECT_TRUE(recognizer.RecognizeSCSITarget(inquiry(0, "AKAI EMI", "S2000 SAMPLER")).empty());
    EXPECT_TRUE(recognizer.RecognizeSCSITarget(inquiry(3, "YAMAHA  ", "S2000 SAMPLER")).empty());
}

TEST(AKAIRecognition, TheMIDIAndSCSIModelsAreBuilt)
{
    for (uint32_t model : {4000u, 4010u, 4130u, 4110u, 4100u, 4150u, 4140u, 4160u, 4120u, 4170u, 4131u, 4151u, 4161u,
                           4171u})
        EXPECT_TRUE(SamplerBrandBuilt(model)) << model;
    for (uint32_t model : {4001u, 4141u, 4101u})
        EXPECT_FALSE(SamplerBrandBuilt(model)) << model;
}

} // namespace
} // namespace quorvel
