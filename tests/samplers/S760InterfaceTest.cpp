#include <gtest/gtest.h>

#include "FakeS760Sampler.h"
#include "SDSFixture.h"
#include "devices/midi/MIDIExceptions.h"
#include "samplers/roland/RolandExceptions.h"
#include "samplers/roland/S760Interface.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class S760InterfaceTest : public ::testing::Test {
protected:
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput inPort;
    FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    ScriptedInput input{inPort, parser, clock};
    RecordingOutput output{outPort, clock};
    FakeS760Sampler sampler{clock, input, output};
    CS760MIDIInterface s760{output, parser, 0};
    QuietProgress progress;
    std::vector<int16_t> words = Words(5000);

    static std::string Numbered(int n)
    {
        char name[8];
        std::snprintf(name, sizeof name, "S%d", n);
        return name;
    }
    static std::vector<int16_t> Words(size_t count)
    {
        std::vector<int16_t> out(count);
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<int16_t>(i * 7919 % 65536 - 32768);
        return out;
    }
    static SampleInfo Info(const std::string& name, uint32_t frames, uint32_t rate = 44100)
    {
        SampleInfo info;
        info.SetName(name);
        info.channelCount = 1;
        info.bits = 16;
        info.rate = rate;
        info.length = frames;
        return info;
    }
    int32_t Send(CABCSampleTransmitter& transmitter, const SampleInfo& info)
    {
        TransmitSample(transmitter, info, 0, std::span<const int16_t>(words.data(), info.length), progress);
        return transmitter.GetResultSampleNumber();
    }
    std::vector<std::string> ListedNames()
    {
        const std::unique_ptr<CSampleList> list = s760.GetSampleList(0, 0);
        std::vector<std::string> names;
        for (uint16_t i = 0; i < list->Count(); ++i)
            names.push_back(list->Get(i)->Name() + "#" + std::to_string(list->Get(i)->Number()) +
                            (list->Get(i)->IsStereo() ? "+" + std::to_string(list->Get(i)->RightNumber()) : ""));
        return names;
    }
};

} // namespace

TEST_F(S760InterfaceTest, TheFileListComesInMessagesOf16Entries)
{
    for (uint16_t n = 0; n < 20; ++n)
        sampler.blocks[static_cast<uint16_t>(n * 2)] = FakeS760Sampler::NamedBlock(Numbered(n));
    const std::vector<std::string> names = ListedNames();
    ASSERT_EQ(names.size(), 20u);
    EXPECT_EQ(names[0], "S0#0");
    EXPECT_EQ(names[19], "S19#38");
    // The category goes one-way to the list address first.
    EXPECT_EQ(sampler.received.front(), RolandMessage(0x12, 0x200018, {5, 0}));
    EXPECT_EQ(s760.FreeSampleNumber(), 1);
}

TEST_F(S760InterfaceTest, AnEntryOfAnotherCategoryIsRefused)
{
    sampler.blocks[0] = FakeS760Sampler::NamedBlock("Kick");
    output.onPiece = [this](const Bytes&) {
        Bytes entry{4, 0, 0, 1};
        entry.resize(20, ' ');
        input.At(clock.now + 1, RolandMessage(0x12, 0x200018, entry));
    };
    EXPECT_THROW(s760.GetSampleList(0, 0), XS760UnexpectedCategoryReceived);
}

TEST_F(S760InterfaceTest, ASliceGoesAsADumpThenItsParameterBlock)
{
    sampler.blocks[0] = FakeS760Sampler::NamedBlock("Taken");
    SampleInfo info = Info("Funky 01", 4608, 22050);
    s760.AdaptSampleInfo(info);
    const auto transmitter = s760.CreateMonoTransmitter(0);
    EXPECT_EQ(Send(*transmitter, info), 1);
    EXPECT_EQ(sampler.Dump().header[4], 1); // the dump went to the free number
    ASSERT_EQ(sampler.written.count((1 + 2048) * 96), 1u);
    const Bytes block = Denibble(sampler.written[(1 + 2048) * 96]);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 16), "Funky 01        ");
    EXPECT_EQ(block[44], 3);  // 22050 Hz
    EXPECT_EQ(block[42], 1);  // one block of 4608 frames
    EXPECT_EQ(block[36], 2);  // played once to its end
    EXPECT_EQ(block[45], 60); // root key

    SampleInfo back;
    s760.GetSampleInfo(back, 1);
    EXPECT_EQ(back.Name(), "Funky 01");
    EXPECT_EQ(back.length, 4604u);
    EXPECT_EQ(back.rate, 22050u);
    // The cached list knows the new sample: the next one takes number 2.
    EXPECT_EQ(s760.FreeSampleNumber(), 2);
}

TEST_F(S760InterfaceTest, NamesAndNumbersAreCheckedBeforeAnythingIsSent)
{
    sampler.blocks[0] = FakeS760Sampler::NamedBlock("Kick");
    const auto clash = s760.CreateMonoTransmitter(0);
    EXPECT_THROW(Send(*clash, Info("Kick", 100)), XS760SampleNameAlreadyExists);
    EXPECT_TRUE(sampler.Dump().header.empty());

    for (uint16_t n = 0; n < 512; ++n)
        sampler.blocks[n] = FakeS760Sampler::NamedBlock(Numbered(n));
    s760.InvalidateSamples();
    const auto full = s760.CreateMonoTransmitter(0);
    EXPECT_THROW(Send(*full, Info("New", 100)), XS760AllSamplesUsedUp);
}

TEST_F(S760InterfaceTest, StereoHalvesAreMarkedAndListedAsOnePair)
{
    const SampleInfo info = Info("Loop", 300);
    const auto left = s760.CreateStereoLeftTransmitter(0);
    EXPECT_EQ(Send(*left, info), 0);
    const auto right = s760.CreateStereoRightTransmitter(0);
    EXPECT_EQ(Send(*right, info), 1);
    EXPECT_EQ(std::string(sampler.blocks[1].begin(), sampler.blocks[1].begin() + 16),
              std::string("Loop          \x7FR"));
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Loop#0+1"}));
    // A second left half of the same name would clash with both.
    const auto again = s760.CreateStereoLeftTransmitter(0);
    EXPECT_THROW(Send(*again, info), XS760SampleNameAlreadyExists);
}

TEST_F(S760InterfaceTest, ASampleComesBackWithItsBlocksNameAndWords)
{
    const auto transmitter = s760.CreateMonoTransmitter(0);
    Send(*transmitter, Info("Hat", 1000));
    sampler.Dump().ReplayReceived();
    const auto receiver = s760.CreateReceiver(0);
    const SReceivedSample received = ReceiveSample(*receiver, 0, progress);
    EXPECT_EQ(received.info.Name(), "Hat");
    EXPECT_EQ(received.info.length, 1000u); // what the dump carried
    EXPECT_EQ(received.narrow, std::vector<int16_t>(words.begin(), words.begin() + 1000));
}

TEST_F(S760InterfaceTest, ADumpWithoutMemoryBehindItIsLost)
{
    const auto transmitter = s760.CreateMonoTransmitter(0);
    // The sampler has forgotten the sample when its block is asked for.
    output.onPiece = [this, forward = output.onPiece](const Bytes& m) {
        if (m.size() == 15 && m[4] == 0x41)
            sampler.blocks.clear();
        forward(m);
    };
    EXPECT_THROW(Send(*transmitter, Info("Gone", 100)), XS760SampleLostInSpace);
}

TEST_F(S760InterfaceTest, DeletingClearsTheBlockAndTheListEntry)
{
    sampler.blocks[4] = FakeS760Sampler::NamedBlock("Old");
    s760.DeleteSample(4);
    EXPECT_EQ(sampler.blocks.count(4), 0u);
    EXPECT_EQ(s760.FreeSampleNumber(), 0);
    EXPECT_THROW(s760.DeleteSample(4), XSampleDoesNotExist);
    EXPECT_THROW(s760.DeleteSample(512), XSampleDoesNotExist);
}

TEST_F(S760InterfaceTest, TheAccessExchangeWritesTheFlagAndReadsItBack)
{
    EXPECT_EQ(s760.ExchangeAccess(true), (std::array<uint8_t, 2>{0, 1}));
    EXPECT_EQ(sampler.accessWritten, (Bytes{0, 0}));
    s760.ExchangeAccess(false);
    EXPECT_EQ(sampler.accessWritten, (Bytes{0, 1}));
}
