// The K2000/K2500 interfaces against a scripted object peer: a slice goes
// into a reserved sound block and is named; an abandoned one is deleted;
// samples come back with the block's name and rate; the rate clamps, the
// listing and the identity reply.
#include <gtest/gtest.h>

#include <random>

#include "devices/midi/SysexMIDIInput.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/kurzweil/K2000SoundBlock.h"
#include "samplers/kurzweil/K2500Interfaces.h"
#include "samplers/kurzweil/KurzweilExceptions.h"
#include "samplers/kurzweil/KurzweilRecognizer.h"
#include "FakeKurzweilSampler.h"
#include "FakeSMDISampler.h"

namespace quorvel {
namespace {

using namespace test;
constexpr uint16_t kSoundBlock = 134;

std::vector<int16_t> Words(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<int16_t> words{INT16_MIN, INT16_MAX, 0, -1, 1};
    while (words.size() < count)
        words.push_back(static_cast<int16_t>(random()));
    words.resize(count);
    return words;
}

SampleInfo Slice(const std::string& name, uint32_t length)
{
    SampleInfo info;
    info.SetName(name);
    info.channelCount = 1;
    info.bits = 16;
    info.rate = 44100;
    info.length = length;
    info.playEnd = length;
    info.rootKey = 60;
    return info;
}

void Send(CABCSampleTransmitter& transmitter, const SampleInfo& info, const std::vector<int16_t>& words)
{
    int32_t perFrame = 0;
    transmitter.StartTransmission(info, perFrame, 0);
    ASSERT_EQ(perFrame, 1);
    uint32_t frames = 0;
    while (transmitter.NextChunkSize(frames))
        transmitter.TransmitNext(words.data() + transmitter.FramesDone());
}

std::vector<int16_t> Take(CABCSampleReceiver& receiver, SampleInfo& info)
{
    int32_t perFrame = 0;
    receiver.BeginReception(info, 64, perFrame);
    EXPECT_EQ(perFrame, 1);
    std::vector<int16_t> words;
    uint32_t frames = 0;
    SSampleWords chunk;
    while (receiver.ReceiveNext(frames, chunk))
        words.insert(words.end(), chunk.narrow, chunk.narrow + frames);
    return words;
}

// A stored block body whose first sound plays at `periodNs` with a forward loop.
Bytes BlockBody(uint32_t periodNs, uint32_t frames)
{
    CK2000SoundBlock block;
    SK2000SoundHeader& sound = block.Sounds()[0];
    sound.periodNs = periodNs;
    sound.end = frames - 1;
    sound.loopStart = 10;
    sound.loopEnd = 19;
    sound.rootKey = 48;
    sound.flags = SK2000SoundHeader::kAlwaysSetBits;
    Bytes body(block.BodySize());
    block.WriteBody(body);
    return body;
}

class K2000Interfaces : public ::testing::Test {
protected:
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput inPort;
    FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    ScriptedInput input{inPort, parser, clock};
    RecordingOutput output{outPort, clock};
    FakeKurzweilSampler sampler{clock, input, output, 0};
    CK2000MIDIInterface k2000{output, parser, 0};

    std::vector<Bytes> Messages(uint8_t number) const
    {
        std::vector<Bytes> found;
        for (const Bytes& m : sampler.messages)
            if (m[4] == number)
                found.push_back(m);
        return found;
    }
};

TEST_F(K2000Interfaces, ASliceFillsAReservedBlockAndIsNamedAfterIt)
{
    SampleInfo info = Slice("Loop slice 1", 100);
    info.sustainLoop = {static_cast<uint32_t>(SampleLoopType::Forward), 10, 50};
    sampler.objects[{kSoundBlock, 200}] = {"Taken", {}};
    const auto transmitter = k2000.CreateMonoTransmitter(2);
    ASSERT_TRUE(transmitter);
    Send(*transmitter, info, Words(100, 1));
    EXPECT_FALSE(transmitter->IsActive());
    EXPECT_EQ(transmitter->GetResultSampleNumber(), 201);

    // Step 1: an empty block, new, from bank 2 on.
    const Bytes write = Messages(9).at(0);
    EXPECT_EQ(FakeKurzweilSampler::Two(write, 7), 200);
    EXPECT_EQ(write[12], 1);
    // The dump goes to id - 1 with its loop ending one frame earlier.
    const Bytes& header = sampler.sds.header;
    ASSERT_EQ(header.size(), 21u);
    EXPECT_EQ(header[4] | (header[5] << 7), 200);
    EXPECT_EQ(header[16] | (header[17] << 7) | (header[18] << 14), 49);
    EXPECT_EQ(sampler.sds.payloads.size(), 3u);
    // Then the block is named, keeping its id.
    const Bytes rename = Messages(8).at(0);
    EXPECT_EQ(FakeKurzweilSampler::Two(rename, 7), 201);
    EXPECT_EQ(FakeKurzweilSampler::Two(rename, 9), 201);
    EXPECT_EQ(sampler.objects.at({kSoundBlock, 201}).name, "Loop slice 1");
    EXPECT_TRUE(Messages(7).empty());
}

TEST_F(K2000Interfaces, AnAbandonedSliceTakesItsBlockWithIt)
{
    {
        const auto transmitter = k2000.CreateMonoTransmitter(0);
        int32_t perFrame = 0;
        transmitter->StartTransmission(Slice("Gone", 400), perFrame, 0);
        transmitter->TransmitNext(Words(400, 2).data());
    }
    EXPECT_EQ(sampler.sds.cancels, 1);
    ASSERT_EQ(Messages(7).size(), 1u);
    EXPECT_EQ(FakeKurzweilSampler::Two(Messages(7)[0], 7), 1);
    EXPECT_TRUE(sampler.objects.empty());
    EXPECT_TRUE(Messages(8).empty());

    // A failing delete does not replace the failure that ended the transfer.
    sampler.sds.headerAnswer = kCancel;
    auto transmitter = k2000.CreateMonoTransmitter(0);
    sampler.silent = true;
    int32_t perFrame = 0;
    transmitter->StartTransmission(Slice("Refused", 40), perFrame, 0);
    EXPECT_THROW(transmitter->TransmitNext(Words(40, 3).data()), XExternalDeviceRejected);
    EXPECT_NO_THROW(transmitter.reset());
}

TEST_F(K2000Interfaces, ABlockAboveIdOneThousandEndsTheSliceBeforeAnyData)
{
    sampler.writeGivesId = 1001;
    EXPECT_THROW(k2000.CreateMonoTransmitter(9), XKurzweilIDOutOfRange);
    EXPECT_TRUE(sampler.sds.header.empty());
    EXPECT_EQ(Messages(7).size(), 1u);
}

TEST_F(K2000Interfaces, ASampleComesBackWithTheNameRateAndLoopOfItsBlock)
{
    const std::vector<int16_t> words = Words(333, 4);
    const auto transmitter = k2000.CreateMonoTransmitter(0);
    Send(*transmitter, Slice("Hat", 333), words);
    sampler.sds.ReplayReceived();

    for (const uint32_t period : {22675u, 22676u}) { // 44101 and 44099 Hz
        sampler.objects.at({kSoundBlock, 1}).body = BlockBody(period, 333);
        SampleInfo info;
        const auto receiver = k2000.CreateReceiver(1);
        EXPECT_EQ(Take(*receiver, info), words);
        EXPECT_EQ(info.rate, 44100u);
        EXPECT_EQ(info.Name(), "Hat");
        EXPECT_EQ(info.length, 333u);
        EXPECT_EQ(info.rootKey, 48);
        EXPECT_EQ(info.sustainLoop.type, static_cast<uint32_t>(SampleLoopType::Forward));
        EXPECT_EQ(info.sustainLoop.start, 10u);
        EXPECT_EQ(info.sustainLoop.end, 20u);
        // The dump was asked for as id - 1 after the block was read and acknowledged.
        const auto request = std::find_if(sampler.sds.messages.rbegin(), sampler.sds.messages.rend(),
                                          [](const Bytes& m) { return m[3] == 0x03; });
        ASSERT_NE(request, sampler.sds.messages.rend());
        EXPECT_EQ((*request)[4], 0);
    }
    EXPECT_EQ(sampler.dacks.size(), 2u);

    SampleInfo info;
    k2000.GetSampleInfo(info, 1);
    EXPECT_EQ(info.length, 333u);
    EXPECT_THROW(k2000.GetSampleInfo(info, 2), XKurzweilObjectNotFound);
    EXPECT_THROW(k2000.CreateReceiver(0), XSampleDoesNotExist);
    EXPECT_THROW(k2000.CreateReceiver(1000), XSampleDoesNotExist);
}

TEST_F(K2000Interfaces, RatesAreHeldToWhatAPeriodCarries)
{
    SampleInfo info = Slice("A name longer than sixteen", 10);
    info.name[2] = '\xE9';
    info.rate = 100;
    info.rootKey = 36;
    info.fineTuning = 12;
    info.channelCount = 2;
    k2000.AdaptSampleInfo(info);
    EXPECT_EQ(info.rate, 400u);
    EXPECT_EQ(info.Name(), "A _ame longer th");
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(info.rootKey, 60);
    EXPECT_EQ(info.fineTuning, 0);
    info.rate = 100000;
    k2000.AdaptSampleInfo(info);
    EXPECT_EQ(info.rate, 95996u);
    for (const uint32_t rate : {44100u, 48000u, 22050u, 32000u}) {
        info.rate = rate;
        EXPECT_TRUE(k2000.IsSampleInfoExact(info)) << rate;
    }
}

TEST_F(K2000Interfaces, TheListNamesTheSoundBlocksInRAMByTheirIds)
{
    sampler.objects[{kSoundBlock, 5}] = {"Five", Bytes(44)};
    sampler.objects[{kSoundBlock, 150}] = {"One fifty", Bytes(44)};
    sampler.objects[{kSoundBlock, 999}] = {"Last", Bytes(44)};
    sampler.objects[{132, 7}] = {"A program", Bytes(48)};
    const std::unique_ptr<CSampleList> list = k2000.GetSampleList(0, 0);
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Get(0)->Name(), "Five");
    EXPECT_EQ(list->Get(1)->Number(), 150);
    EXPECT_EQ(list->Get(2)->Name(), "Last");
    EXPECT_EQ(Messages(12).size(), 10u);

    k2000.DeleteSample(150);
    EXPECT_EQ(sampler.objects.count({kSoundBlock, 150}), 0u);
    EXPECT_THROW(k2000.DeleteSample(0), XSampleDoesNotExist);

    SamplerCapabilities capabilities;
    k2000.GetCapabilities(capabilities);
    EXPECT_STREQ(capabilities.protocolName, "Kurzweil K2000");
    EXPECT_EQ(capabilities.highestSampleNumber, capabilities.lowestSampleNumber) << "no start number to ask for";
    CK2500MIDIInterface k2500(output, parser, 0);
    k2500.GetCapabilities(capabilities);
    EXPECT_STREQ(capabilities.protocolName, "Kurzweil K2500");
}

class K2000OverSCSI : public K2000Interfaces {
protected:
    FakeSCSIClock scsiClock;
    CScopedSCSIClock scopedSCSIClock{scsiClock};
    CLoopbackSCSIBus bus;
    std::shared_ptr<FakeSMDISampler> target = std::make_shared<FakeSMDISampler>();
    SCSIDevice device{&bus, bus.AddTarget(target), 5000};
};

TEST_F(K2000OverSCSI, SampleDataTravelsBySMDIToIdLessOne)
{
    CK2500MIDIAndSCSIInterface k2500(output, parser, 0, device);
    const std::vector<int16_t> words = Words(1000, 5);
    target->maxPacketBytes = 512;
    {
        const auto transmitter = k2500.CreateMonoTransmitter(1);
        Send(*transmitter, Slice("Snare", 1000), words);
        EXPECT_EQ(transmitter->GetResultSampleNumber(), 100);
    }
    ASSERT_EQ(target->samples.count(99), 1u);
    EXPECT_EQ(sampler.objects.at({kSoundBlock, 100}).name, "Snare");
    EXPECT_TRUE(Messages(7).empty());
    EXPECT_TRUE(sampler.sds.header.empty());

    sampler.objects.at({kSoundBlock, 100}).body = BlockBody(31250, 1000); // 32000 Hz
    SampleInfo info;
    const auto receiver = k2500.CreateReceiver(100);
    EXPECT_EQ(Take(*receiver, info), words);
    EXPECT_EQ(info.rate, 32000u);
    EXPECT_EQ(info.Name(), "Snare");
    EXPECT_EQ(info.channelCount, 1);

    // Abandoned after its header: the block goes.
    {
        const auto transmitter = k2500.CreateMonoTransmitter(1);
        int32_t perFrame = 0;
        transmitter->StartTransmission(Slice("Half", 1000), perFrame, 0);
    }
    EXPECT_EQ(Messages(7).size(), 1u);
    EXPECT_EQ(sampler.objects.count({kSoundBlock, 101}), 0u);
}

TEST(KurzweilRecognizer, TheIdentityReplyNamesTheModelAndItsVersion)
{
    const CRawSysex k2500({0xF0, 0x7E, 0x03, 0x06, 0x02, 0x07, 0x78, 0x00, 0x01, 0x00, 0x03, 0x01, 0x00, 0x00, 0xF7});
    const CRawSysex k2000({0xF0, 0x7E, 0x00, 0x06, 0x02, 0x07, 0x78, 0x00, 0x00, 0x00, 0x02, 0x50, 0x00, 0x00, 0xF7});
    const CRawSysex other({0xF0, 0x7E, 0x00, 0x06, 0x02, 0x43, 0x78, 0x00, 0x00, 0x00, 0x02, 0x50, 0x00, 0x00, 0xF7});
    CKurzweilRecognizer recognizer;
    const auto found = recognizer.RecognizeMIDIMessage({{"Out", "ALSA"}, {"In", "ALSA"}, k2500});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].typeId, 1010u);
    EXPECT_EQ(found[0].sysexId, 3);
    EXPECT_TRUE(found[0].versionKnown);
    EXPECT_EQ(found[0].osVersion.major, 3);
    EXPECT_EQ(found[0].osVersion.minor, 1);
    EXPECT_EQ(found[0].midiIn.device, "In");
    const auto old = recognizer.RecognizeMIDIMessage({{"Out", "ALSA"}, {"In", "ALSA"}, k2000});
    ASSERT_EQ(old.size(), 1u);
    EXPECT_EQ(old[0].typeId, 1000u);
    EXPECT_EQ(old[0].osVersion.minor, 80);
    EXPECT_TRUE(recognizer.RecognizeMIDIMessage({{"Out", "ALSA"}, {"In", "ALSA"}, other}).empty());

    SSCSITargetSeen target{{"Bus", "Loopback"}, 4, {}};
    const auto answer = [&](const std::string& vendor, const std::string& product) {
        target.inquiry.fill(' ');
        std::copy(vendor.begin(), vendor.end(), target.inquiry.begin() + 8);
        std::copy(product.begin(), product.end(), target.inquiry.begin() + 16);
        return recognizer.RecognizeSCSITarget(target);
    };
    const auto onSCSI = answer("KURZWEIL", "K2000R");
    ASSERT_EQ(onSCSI.size(), 1u);
    EXPECT_EQ(onSCSI[0].typeId, 1002u);
    EXPECT_EQ(onSCSI[0].scsiId, 4);
    EXPECT_TRUE(onSCSI[0].foundViaSCSI);
    ASSERT_EQ(answer("KURZWEIL", "K2500").size(), 1u);
    EXPECT_EQ(answer("KURZWEIL", "K2500")[0].typeId, 1012u);
    EXPECT_TRUE(answer("KURZWEIL", "PC88").empty());
    EXPECT_TRUE(answer("YAMAHA", "K2000").empty());
}

} // namespace
} // namespace quorvel
