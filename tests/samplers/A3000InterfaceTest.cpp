// The A3000 MIDI interface against a scripted sampler on a simulated clock:
// wave dumps both ways, the checks of a received wave dump, the sample list
// with its stereo pairs, and the loop sent as a sample bank.
#include <gtest/gtest.h>

#include <random>

#include "analysis/SliceSet.h"
#include "devices/midi/SysexMIDIInput.h"
#include "document/SoundDocument.h"
#include "samplers/SampleTransfer.h"
#include "samplers/yamaha/A3000BankTransmission.h"
#include "samplers/yamaha/A3000Exceptions.h"
#include "samplers/yamaha/A3000Interface.h"
#include "FakeA3000Sampler.h"

namespace quorvel {
namespace {

using namespace test;
using namespace a3000;

class A3000Interface : public ::testing::Test {
protected:
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput inPort;
    FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    ScriptedInput input{inPort, parser, clock};
    RecordingOutput output{outPort, clock};
    FakeA3000Sampler sampler{clock, input, output, 2};
    CA3000MIDIInterface a3000{output, parser, 2};

    static std::vector<int16_t> Words(size_t count, unsigned seed)
    {
        std::mt19937 random(seed);
        std::vector<int16_t> words{INT16_MIN, INT16_MAX, 0, -1, 1};
        while (words.size() < count)
            words.push_back(static_cast<int16_t>(random()));
        words.resize(count);
        return words;
    }

    static SampleInfo Slice(const std::string& name, uint32_t length)
    {
        SampleInfo info;
        info.SetName(name);
        info.channelCount = 1;
        info.bits = 16;
        info.rate = 44100;
        info.length = length;
        info.playEnd = length;
        info.rootKey = 36;
        return info;
    }

    int32_t Transmit(const SampleInfo& info, const std::vector<int16_t>& words,
                     std::unique_ptr<CABCSampleTransmitter> transmitter = nullptr)
    {
        if (!transmitter)
            transmitter = a3000.CreateMonoTransmitter(0);
        int32_t perFrame = 0;
        transmitter->StartTransmission(info, perFrame, 0);
        EXPECT_EQ(perFrame, 1);
        uint32_t frames = 0;
        while (transmitter->NextChunkSize(frames))
            transmitter->TransmitNext(words.data() + transmitter->FramesDone());
        return transmitter->GetResultSampleNumber();
    }

    std::vector<int16_t> Receive(int32_t number, SampleInfo& info)
    {
        const std::unique_ptr<CABCSampleReceiver> receiver = a3000.CreateReceiver(number);
        int32_t perFrame = 0;
        receiver->BeginReception(info, 0, perFrame);
        EXPECT_EQ(perFrame, 1);
        std::vector<int16_t> words;
        uint32_t frames = 0;
        SSampleWords chunk;
        while (receiver->ReceiveNext(frames, chunk))
            words.insert(words.end(), chunk.narrow, chunk.narrow + frames);
        return words;
    }
};

TEST_F(A3000Interface, SlicesGoOutAsWaveDumpsAndComeBackBitExactly)
{
    sampler.AddSample("Already here", Words(10, 9));
    // 981 words fill the first block after the parameters; 3000 need three blocks.
    for (const uint32_t length : {0u, 981u, 982u, 3000u}) {
        const std::string name = "Slice " + std::to_string(length);
        const std::vector<int16_t> words = Words(length, length);
        const int32_t number = Transmit(Slice(name, length), words);
        EXPECT_EQ(number, static_cast<int32_t>(sampler.objects.size() - 1)) << "numbered by its place";
        const FakeA3000Sampler::Object* kept = sampler.Find(16, name);
        ASSERT_NE(kept, nullptr) << name;
        EXPECT_EQ(kept->words, words);

        SampleInfo info;
        EXPECT_EQ(Receive(number, info), words) << name;
        EXPECT_EQ(info.Name(), name);
        EXPECT_EQ(info.length, length);
        EXPECT_EQ(info.rootKey, 36);
        EXPECT_EQ(info.rate, 44100u);
        SampleInfo listed;
        a3000.GetSampleInfo(listed, number);
        EXPECT_EQ(listed, info) << "the parameter dump says the same";
    }
    const Bytes& request = sampler.requests.back();
    EXPECT_EQ(request[2], 0x22) << "requests carry 0x20 plus the device number";
}

TEST_F(A3000Interface, StereoHalvesAreNamedAndListedAsOnePair)
{
    const std::vector<int16_t> words = Words(100, 4);
    Transmit(Slice("Pad", 100), words, a3000.CreateStereoLeftTransmitter(0));
    Transmit(Slice("Pad", 100), words, a3000.CreateStereoRightTransmitter(0));
    sampler.AddSample("Bass", words);
    EXPECT_EQ(sampler.objects[1].parameters[43], 2) << "the right half says so";
    const std::unique_ptr<CSampleList> list = a3000.GetSampleList(0, 0);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Get(0)->Name(), "Pad");
    EXPECT_TRUE(list->Get(0)->IsStereo());
    EXPECT_EQ(list->Get(0)->RightNumber(), 1);
    EXPECT_EQ(list->Get(1)->Name(), "Bass");
    EXPECT_EQ(list->Get(1)->Number(), 2);

    sampler.objects[1].words[0] = 101; // the halves differ, so that the choice shows
    sampler.objects[0].words[0] = 200;
    const auto receive = [&](int32_t mode, SampleInfo& info) {
        const std::unique_ptr<CABCSampleReceiver> receiver = a3000.CreateReceiverFor(0, mode);
        int32_t perFrame = 0;
        receiver->BeginReception(info, 0, perFrame);
        std::vector<int16_t> back;
        uint32_t frames = 0;
        SSampleWords chunk;
        while (receiver->ReceiveNext(frames, chunk))
            back.insert(back.end(), chunk.narrow, chunk.narrow + frames);
        return back;
    };
    SampleInfo info;
    EXPECT_EQ(receive(1, info)[0], 200);
    EXPECT_EQ(info.Name(), "PadL");
    EXPECT_EQ(receive(3, info)[0], 101);
    const std::vector<int16_t> mixed = receive(2, info);
    ASSERT_EQ(mixed.size(), words.size());
    EXPECT_EQ(mixed[0], 150);
    EXPECT_EQ(mixed[1], words[1]);
    EXPECT_EQ(info.Name(), "Pad");
    EXPECT_THROW(a3000.CreateReceiverFor(2, 2), XA3000SampleIsNotStereo);
    EXPECT_THROW(a3000.CreateReceiverFor(1, 1), XA3000SampleIsNotStereo) << "a right half opens no pair";
}

TEST_F(A3000Interface, ANameAlreadyTakenStopsBeforeTheDump)
{
    sampler.AddSample("Kick", Words(10, 1));
    const std::unique_ptr<CABCSampleTransmitter> transmitter = a3000.CreateMonoTransmitter(0);
    int32_t perFrame = 0;
    EXPECT_THROW(transmitter->StartTransmission(Slice("Kick", 10), perFrame, 0), XA3000SampleNameNotUnique);
    EXPECT_EQ(sampler.objects.size(), 1u);
    for (const auto& piece : output.pieces)
        EXPECT_EQ(piece.bytes.size(), 31u) << "only requests went out";
}

TEST_F(A3000Interface, AStoppedDumpIsCutShortSoThatTheSamplerDropsIt)
{
    const std::vector<int16_t> words = Words(5000, 6);
    {
        const std::unique_ptr<CABCSampleTransmitter> transmitter = a3000.CreateMonoTransmitter(0);
        int32_t perFrame = 0;
        transmitter->StartTransmission(Slice("Stopped", 5000), perFrame, 0);
        transmitter->TransmitNext(words.data());
        transmitter->TransmitNext(words.data() + transmitter->FramesDone());
        transmitter->StopIfActive();
        EXPECT_FALSE(transmitter->IsActive());
    }
    EXPECT_EQ(output.AllBytes().back(), 0xF7) << "the message is closed";
    EXPECT_EQ(sampler.Find(16, "Stopped"), nullptr);
    EXPECT_EQ(Transmit(Slice("Next", 5000), words), 0) << "the next one goes through";
}

TEST_F(A3000Interface, AWaveDumpThatIsNotTheOneAskedForIsRefused)
{
    sampler.AddSample("Kick", Words(3000, 2));
    sampler.AddSample("Kick2", Words(3000, 2));
    SampleInfo info;
    sampler.answerAs = "Kick2";
    EXPECT_THROW(Receive(0, info), XA3000ReceivedInvalidSysex) << "same words, another name";
    sampler.badBlock = 1;
    EXPECT_THROW(Receive(0, info), XA3000ChecksumIncorrect);
    sampler.badBlock = 0;
    EXPECT_THROW(Receive(0, info), XA3000ChecksumIncorrect);
    EXPECT_EQ(Receive(1, info), Words(3000, 2)) << "the next request starts afresh";
    EXPECT_THROW(Receive(2, info), XSampleDoesNotExist);
    sampler.silent = true;
    EXPECT_THROW(Receive(0, info), XSysexTimedOut);
}

TEST_F(A3000Interface, ASampleTheSamplerDidNotKeepIsReported)
{
    sampler.dropType = "WD";
    EXPECT_THROW(Transmit(Slice("Lost", 20), Words(20, 3)), XSampleDoesNotExist);
    EXPECT_THROW(a3000.DeleteSample(0), XSampleDoesNotExist);
    sampler.AddSample("Kick", Words(10, 1));
    EXPECT_THROW(a3000.DeleteSample(0), XA3000CannotDelete);
}

class ScriptedQuestions : public CABCA3000TransmitQuestions {
public:
    int ConfirmSliceCount(int count, int maximum) override
    {
        asked = maximum;
        return std::min(count, maximum);
    }
    bool UseDefaults() override
    {
        ++defaultsAsked;
        return useDefaults;
    }
    CABCTransferProgress& SampleProgress(int) override { return progress; }

    class : public CABCTransferProgress {
    public:
        void SetPercent(int32_t) override {}
        bool CancelRequested() override { return false; }
    } progress;
    int asked = 0;
    int defaultsAsked = 0;
    bool useDefaults = false;
};

std::unique_ptr<CSoundDocument> Sliced(int count, int32_t each)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("Loop", 44100, count * each);
    for (int32_t i = 0; i < count * each; ++i)
        sound->Store().WriteSample(static_cast<uint32_t>(i), static_cast<int16_t>(i * 7 - 3000));
    std::vector<StoredSlice> slices;
    for (int i = 0; i < count; ++i)
        slices.push_back({static_cast<int32_t>(SliceState::Locked), false, i * each, 100});
    StoredDocumentSettings settings;
    settings.bars = 1;
    return std::make_unique<CSoundDocument>(std::move(sound), settings, slices);
}

TEST_F(A3000Interface, TheLoopBecomesABankWithOneMemberPerSlice)
{
    const auto document = Sliced(3, 500);
    const CExportJob job = MakeExportJob(*document);
    ScriptedQuestions questions;
    CA3000BankTransmission transmission(a3000, questions);
    SA3000TransmitSettings settings;
    settings.bankName = "Breakbeat Loops";
    const SA3000TransmitResult result = transmission.Run(job, settings);
    EXPECT_EQ(questions.asked, 92);
    ASSERT_EQ(result.samples.size(), 3u);
    EXPECT_EQ(result.samples[2].name, "Breakbeat Loo 03");
    EXPECT_EQ(result.samples[2].number, 2);
    const FakeA3000Sampler::Object* bank = sampler.Find(17, "Breakbeat Loops");
    ASSERT_NE(bank, nullptr);
    const CA3000SampleBank read = CA3000SampleBank::Decode(bank->parameters);
    ASSERT_EQ(read.members.size(), 3u);
    EXPECT_EQ(read.members[0].name, "Breakbeat Loo 01");
    EXPECT_EQ(read.members[2].keyLow, 38);
    EXPECT_EQ(sampler.Find(16, "Breakbeat Loo 02")->parameters[22], 37) << "each slice on its own key";

    // The same again: the bank's name is taken, and nothing more is sent.
    const size_t objects = sampler.objects.size();
    EXPECT_THROW(transmission.Run(job, settings), XA3000BankNameNotUnique);
    EXPECT_EQ(transmission.ClashingName(), "Breakbeat Loops");
    settings.bankName = "Breakbeat Loo";
    EXPECT_THROW(transmission.Run(job, settings), XA3000SampleNameNotUnique) << "its samples' names are too";
    settings.bankName = "  ";
    EXPECT_THROW(transmission.Run(job, settings), XA3000BankNameMissing);
    settings.bankName = "Other";
    settings.templateName = "Missing";
    EXPECT_THROW(transmission.Run(job, settings), XSampleTransmitCancelled);
    EXPECT_EQ(questions.defaultsAsked, 1);
    EXPECT_EQ(sampler.objects.size(), objects);
    settings.templateName = "Breakbeat Loops";
    transmission.Run(job, settings);
    EXPECT_NE(sampler.Find(17, "Other"), nullptr) << "a template that is there is taken";
    EXPECT_EQ(questions.defaultsAsked, 1);
}

} // namespace
} // namespace quorvel
