#include "FakeSMDISampler.h"

#include <random>

#include "samplers/SampleTransfer.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/smdi/SMDIExceptions.h"
#include "samplers/smdi/SMDIExtendedSamplerInterface.h"
#include "samplers/smdi/SMDIReceiver.h"
#include "samplers/smdi/SMDISamplerInterface.h"
#include "samplers/smdi/SMDITransmitter.h"

using namespace quorvel;
using namespace quorvel::test;
using namespace quorvel::smdi;

namespace {

uint32_t CodeOf(const Bytes& message) { return GetBigEndian(message.data() + 4, 4); }

SampleInfo Info(uint8_t bits, uint8_t channels, uint32_t frames)
{
    SampleInfo info;
    info.SetName("Loop slice");
    info.bits = bits;
    info.channelCount = channels;
    info.rate = 44100;
    info.length = frames;
    info.rootKey = 60;
    return info;
}

// Words as a sampler of `bits` holds them: the bits below the word's width are zero.
template <class Word>
std::vector<Word> Words(size_t count, uint32_t bits)
{
    std::mt19937 random(bits * 7919u + uint32_t(count));
    std::vector<Word> words(count);
    const uint32_t unused = sizeof(Word) * 8 - WordBytes(bits) * 8;
    for (Word& word : words)
        word = static_cast<Word>((random() >> unused) << unused);
    return words;
}

template <class Word>
const Word* Pointer(const std::vector<Word>& words, size_t at)
{
    return words.data() + at;
}

// Chunk by chunk, as the transfer loop drives a transmitter.
template <class Word>
void Send(CABCSampleTransmitter& transmitter, const SampleInfo& info, const std::vector<Word>& words)
{
    int32_t perFrame = -1;
    transmitter.StartTransmission(info, perFrame, 0);
    EXPECT_EQ(perFrame, WordsPerFrameOut(info.bits));
    uint32_t frames = 0;
    while (transmitter.NextChunkSize(frames))
        transmitter.TransmitNext(Pointer(words, size_t(transmitter.FramesDone()) * info.channelCount));
}

struct SReceived {
    SampleInfo info;
    std::vector<int16_t> narrow;
    std::vector<int32_t> wide;
};

SReceived Receive(CABCSampleReceiver& receiver, int32_t framesPerPacket)
{
    SReceived received;
    int32_t perFrame = -1;
    receiver.BeginReception(received.info, framesPerPacket, perFrame);
    EXPECT_EQ(perFrame, WordsPerFrameOut(received.info.bits));
    uint32_t frames = 0;
    SSampleWords words;
    const size_t channels = received.info.channelCount;
    while (receiver.ReceiveNext(frames, words)) {
        if (words.narrow)
            received.narrow.insert(received.narrow.end(), words.narrow, words.narrow + frames * channels);
        if (words.wide)
            received.wide.insert(received.wide.end(), words.wide, words.wide + frames * channels);
    }
    return received;
}

class SMDITransferTest : public SMDIFixture {
protected:
    // Replaces the next answer of the given kind.
    void ReplaceNext(EMessage kind, Bytes replacement)
    {
        sampler.tamper = [this, kind, replacement](Bytes& answer) {
            if (CodeOf(answer) == kind) {
                answer = replacement;
                sampler.tamper = nullptr;
            }
        };
    }

    // A 16-bit mono sample of `frames` frames at number 3, sent in 100-frame packets.
    std::vector<int16_t> Store(uint32_t frames)
    {
        std::vector<int16_t> words = Words<int16_t>(frames, 16);
        sampler.maxPacketBytes = 200;
        CSMDITransmitter transmitter(device, 3);
        Send(transmitter, Info(16, 1, frames), words);
        return words;
    }
};

} // namespace

TEST_F(SMDITransferTest, SamplesGoOutAndComeBackBitExact)
{
    struct Case {
        uint8_t bits;
        uint8_t channels;
    };
    int32_t number = 0;
    for (const Case c : {Case{8, 1}, Case{12, 1}, Case{16, 1}, Case{24, 1}, Case{16, 2}, Case{32, 1}}) {
        SCOPED_TRACE(int(c.bits) * 10 + c.channels);
        ++number;
        const uint32_t frames = 1234; // several packets and a short last one
        const size_t count = size_t(frames) * c.channels;
        sampler.maxPacketBytes = 1000;
        const SampleInfo info = Info(c.bits, c.channels, frames);
        std::vector<int16_t> narrow;
        std::vector<int32_t> wide;
        {
            CSMDITransmitter transmitter(device, number);
            if (c.bits <= 16)
                Send(transmitter, info, narrow = Words<int16_t>(count, c.bits));
            else
                Send(transmitter, info, wide = Words<int32_t>(count, c.bits));
            EXPECT_FALSE(transmitter.IsActive());
            EXPECT_EQ(transmitter.GetResultSampleNumber(), number);
            EXPECT_EQ(transmitter.ChunkSize(), 1000u / (WordBytes(c.bits) * c.channels));
        }
        const FakeSMDISampler::Stored& stored = sampler.samples.at(uint32_t(number));
        ASSERT_EQ(stored.data.size(), count * WordBytes(c.bits));
        // Big-endian on the wire, first word first.
        if (c.bits == 16) {
            EXPECT_EQ(stored.data[1], uint8_t(narrow[0]));
        } else if (c.bits == 24) {
            EXPECT_EQ(stored.data[0], uint8_t(uint32_t(wide[0]) >> 24));
        }

        CSMDIReceiver receiver(device, number);
        const SReceived back = Receive(receiver, 300);
        EXPECT_FALSE(receiver.IsActive());
        EXPECT_EQ(receiver.ChunkSize(), std::min(300u, 1000u / (WordBytes(c.bits) * c.channels)));
        EXPECT_EQ(back.info.Name(), "Loop slice");
        EXPECT_EQ(back.info.bits, c.bits);
        EXPECT_EQ(back.info.channelCount, c.channels);
        EXPECT_EQ(back.info.length, frames);
        EXPECT_EQ(back.info.rate, 44100u);
        EXPECT_EQ(back.narrow, narrow);
        EXPECT_EQ(back.wide, wide);
    }
}

TEST_F(SMDITransferTest, TheTransferLoopMovesSixteenBitSamples)
{
    CSMDISamplerInterface sampler16(device);
    class Progress : public CABCTransferProgress {
    public:
        void SetPercent(int32_t percent) override { last = percent; }
        bool CancelRequested() override { return false; }
        int32_t last = -1;
    } progress;
    const std::vector<int16_t> source = Words<int16_t>(500, 16);
    SampleInfo info = Info(16, 1, 700); // longer than the source: zeros follow
    sampler.maxPacketBytes = 256;
    TransmitSample(*sampler16.CreateTransmitter(11), info, 0, source, progress);
    EXPECT_EQ(progress.last, 100);
    const SReceivedSample back = ReceiveSample(*sampler16.CreateReceiver(11), 64, progress);
    ASSERT_EQ(back.narrow.size(), 700u);
    EXPECT_TRUE(std::equal(source.begin(), source.end(), back.narrow.begin()));
    EXPECT_TRUE(std::all_of(back.narrow.begin() + 500, back.narrow.end(), [](int16_t w) { return w == 0; }));

    // A stereo sample comes back with both channels of every frame.
    const std::vector<int16_t> stereo = Words<int16_t>(2 * 300, 16);
    CSMDITransmitter transmitter(device, 12);
    Send(transmitter, Info(16, 2, 300), stereo);
    const SReceivedSample both = ReceiveSample(*sampler16.CreateReceiver(12), 64, progress);
    EXPECT_EQ(both.narrow, stereo);
}

TEST_F(SMDITransferTest, TheReceiverAsksForPacketsOfWholeFramesWithinItsLimits)
{
    Store(1000);
    for (const auto& [wanted, bytes] : {std::pair{1, 32u}, std::pair{100000, 131072u}}) {
        sampler.sent.clear();
        CSMDIReceiver receiver(device, 3);
        SampleInfo info;
        int32_t perFrame = 0;
        sampler.maxPacketBytes = 0xFFFFFF;
        receiver.BeginReception(info, wanted, perFrame);
        ASSERT_GE(sampler.sent.size(), 2u);
        EXPECT_EQ(sampler.sent[1], BuildBeginTransfer(kBeginSampleTransfer, 3, bytes));
    }

    // A packet length that splits a word or a frame cannot be used.
    ReplaceNext(kBeginSampleTransferAck, BuildBeginTransfer(kBeginSampleTransferAck, 3, 33));
    CSMDIReceiver receiver(device, 3);
    SampleInfo info;
    int32_t perFrame = 0;
    EXPECT_THROW(receiver.BeginReception(info, 16, perFrame), XSMDIUnsupportedPacketLength);
    EXPECT_FALSE(receiver.IsActive());
}

TEST_F(SMDITransferTest, BadDataPacketsEndTheReceptionWithTheirException)
{
    Store(1000);
    struct Case {
        const char* what;
        std::function<void(Bytes&)> change;
    };
    const Case cases[] = {
        {"wrong number", [](Bytes& p) { p[13] = 5; }},
        {"one byte short", [](Bytes& p) {
             p.pop_back();
             PutBigEndian(p.data() + 8, uint32_t(p.size() - 11), 3);
         }},
        {"longer than asked", [](Bytes& p) { PutBigEndian(p.data() + 8, uint32_t(p.size() - 11 + 2), 3); }},
        {"a reject", [](Bytes& p) { p = BuildMessageReject(0x0020, 0x0002); }},
        {"an abort", [](Bytes& p) { p = BuildMessage(kAbortProcedure); }},
        {"an ACK", [](Bytes& p) { p = BuildMessage(kAck); }},
        {"no tag", [](Bytes& p) { p[0] = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSMDIReceiver receiver(device, 3);
        SampleInfo info;
        int32_t perFrame = 0;
        receiver.BeginReception(info, 100, perFrame);
        uint32_t frames = 0;
        SSampleWords words;
        ASSERT_TRUE(receiver.ReceiveNext(frames, words));
        sampler.tamper = [&](Bytes& answer) {
            if (CodeOf(answer) == kDataPacket) {
                c.change(answer);
                sampler.tamper = nullptr;
            }
        };
        const std::string_view what = c.what;
        try {
            receiver.ReceiveNext(frames, words);
            ADD_FAILURE() << "no exception";
        } catch (const XSMDIUnexpectedPacketIndex&) {
            EXPECT_EQ(what, "wrong number");
        } catch (const XSMDIInvalidPacketLength&) {
            EXPECT_TRUE(what == "one byte short" || what == "longer than asked");
        } catch (const XSMDIPacketRejected&) {
            EXPECT_EQ(what, "a reject");
            EXPECT_FALSE(receiver.IsActive()); // a refusal ends the transfer
        } catch (const XSMDIAborted&) {
            EXPECT_EQ(what, "an abort");
            EXPECT_FALSE(receiver.IsActive());
        } catch (const XSMDIUnexpectedMessage&) {
            EXPECT_EQ(what, "an ACK");
        } catch (const XSMDIMessageInvalid&) {
            EXPECT_EQ(what, "no tag");
        }
        EXPECT_EQ(receiver.FramesDone(), 100u);
        sampler.tamper = nullptr;
        sampler.answers.clear();
    }
}

TEST_F(SMDITransferTest, AnAbandonedReceptionIsAbortedAtTheSampler)
{
    Store(1000);
    {
        CSMDIReceiver receiver(device, 3);
        SampleInfo info;
        int32_t perFrame = 0;
        receiver.BeginReception(info, 100, perFrame);
        EXPECT_TRUE(receiver.IsActive());
    }
    EXPECT_EQ(sampler.sent.back(), BuildMessage(kAbortProcedure));
    EXPECT_TRUE(sampler.answers.empty());

    // An abort that the sampler answers badly still ends the reception.
    CSMDIReceiver receiver(device, 3);
    SampleInfo info;
    int32_t perFrame = 0;
    receiver.BeginReception(info, 100, perFrame);
    ReplaceNext(kAck, BuildMessage(kNak));
    receiver.AbortReception();
    EXPECT_FALSE(receiver.IsActive());
}

TEST_F(SMDITransferTest, AHeaderWhoseNameRunsPastTheMessageIsRefused)
{
    Store(10);
    Bytes& header = sampler.samples.at(3).header;
    header[36] = 250;
    CSMDIReceiver receiver(device, 3);
    SampleInfo info;
    int32_t perFrame = 0;
    // The length field does not cover the name: not a proper header.
    EXPECT_THROW(receiver.BeginReception(info, 100, perFrame), XSMDIUnexpectedMessage);
    EXPECT_FALSE(receiver.IsActive());

    // The length field covers it, but the name runs past the receive
    // buffer: nothing is read beyond it.
    PutBigEndian(header.data() + 8, 26 + 250, 3);
    EXPECT_THROW(CSMDI(device).GetSampleHeader(3, 100), XSMDIMessageInvalid);
    // Within the buffer, what the target did not fill reads as zeros.
    CSMDISamplerInterface smdi(device);
    smdi.GetSampleInfo(info, 3);
    EXPECT_EQ(info.Name().size(), 250u);
    EXPECT_THROW(smdi.GetSampleInfo(info, 4), XSampleDoesNotExist);
}

TEST_F(SMDITransferTest, TheTransmitterChecksEveryAnswer)
{
    const std::vector<int16_t> words = Words<int16_t>(1000, 16);
    sampler.maxPacketBytes = 200;
    {
        ReplaceNext(kBeginSampleTransferAck, BuildMessageReject(0x0020, 0x0000));
        CSMDITransmitter transmitter(device, 1);
        EXPECT_THROW(Send(transmitter, Info(16, 1, 1000), words), XSMDIHeaderRejected);
        EXPECT_FALSE(transmitter.IsActive());
    }
    {
        ReplaceNext(kSendNextPacket, BuildNumberMessage(kSendNextPacket, 1));
        CSMDITransmitter transmitter(device, 1);
        EXPECT_THROW(Send(transmitter, Info(16, 1, 1000), words), XSMDIUnexpectedPacketIndex);
        // Left active, it aborts when it goes.
    }
    EXPECT_EQ(sampler.sent.back(), BuildMessage(kAbortProcedure));
    {
        ReplaceNext(kSendNextPacket, BuildMessageReject(0x0020, 0x0000));
        CSMDITransmitter transmitter(device, 1);
        EXPECT_THROW(Send(transmitter, Info(16, 1, 1000), words), XSMDIPacketRejected);
        EXPECT_FALSE(transmitter.IsActive());
    }
    for (const auto& [closing, rejected] : {std::pair{BuildMessageReject(0x0020, 0), true},
                                            std::pair{BuildMessage(kWait), false}}) {
        sampler.answers.clear();
        sampler.notReadyPolls = 0;
        ReplaceNext(kEndOfProcedure, closing);
        CSMDITransmitter transmitter(device, 1);
        if (rejected) {
            EXPECT_THROW(Send(transmitter, Info(16, 1, 1000), words), XSMDIEOPRejected);
            EXPECT_FALSE(transmitter.IsActive());
        } else {
            // A WAIT in place of the end is sat out, then the end is read.
            sampler.answers.clear();
            sampler.tamper = [this](Bytes& answer) {
                if (CodeOf(answer) == kEndOfProcedure && sampler.polls == 0) {
                    sampler.waits = 0;
                    sampler.answers.push_front(answer);
                    answer = BuildMessage(kWait);
                }
            };
            Send(transmitter, Info(16, 1, 1000), words);
            EXPECT_FALSE(transmitter.IsActive());
            EXPECT_EQ(sampler.polls, 1);
        }
        sampler.tamper = nullptr;
    }
    // A packet length that holds no frame at all.
    sampler.answers.clear();
    sampler.maxPacketBytes = 3;
    CSMDITransmitter transmitter(device, 1);
    EXPECT_THROW(Send(transmitter, Info(16, 2, 10), words), XSMDIUnsupportedPacketLength);
}

TEST_F(SMDITransferTest, AnEmptySampleIsAHeaderAndTheEnd)
{
    CSMDITransmitter transmitter(device, 6);
    int32_t perFrame = 0;
    transmitter.StartTransmission(Info(16, 1, 0), perFrame, 0);
    EXPECT_FALSE(transmitter.IsActive());
    ASSERT_EQ(sampler.sent.size(), 2u);
    EXPECT_EQ(CodeOf(sampler.sent[0]), uint32_t(kSampleHeader));
    EXPECT_EQ(CodeOf(sampler.sent[1]), uint32_t(kBeginSampleTransfer));
    ASSERT_TRUE(sampler.samples.count(6));

    CSMDIReceiver receiver(device, 6);
    SampleInfo info;
    receiver.BeginReception(info, 100, perFrame);
    EXPECT_FALSE(receiver.IsActive());
    EXPECT_EQ(info.length, 0u);
}

TEST_F(SMDITransferTest, TheInterfaceReadsDeletesAndReportsWhatItCan)
{
    CSMDISamplerInterface smdi(device);
    SamplerCapabilities capabilities;
    smdi.GetCapabilities(capabilities);
    EXPECT_STREQ(capabilities.protocolName, "SMDI");
    EXPECT_EQ(capabilities.brandNumber, 74);
    EXPECT_EQ(capabilities.brandCount, 256);
    EXPECT_EQ(capabilities.features[SamplerCapabilities::kStereoReceiveFlag], 1);
    EXPECT_EQ(std::count(capabilities.features.begin(), capabilities.features.end(), 1), 7);
    EXPECT_EQ(capabilities.highestSampleNumber, 16777215);

    Store(1000);
    SampleInfo info;
    smdi.GetSampleInfo(info, 3);
    EXPECT_EQ(info.length, 1000u);
    EXPECT_EQ(sampler.sent.back(), BuildNumberMessage(kSampleHeaderRequest, 3));

    auto list = smdi.GetSampleList(0, 0);
    EXPECT_EQ(list->Count(), 0);

    SampleInfo looped = Info(16, 1, 1000);
    looped.sustainLoop = {uint32_t(SampleLoopType::Forward), 10, 900};
    looped.fineTuning = -12;
    looped.playEnd = 1000;
    EXPECT_TRUE(smdi.IsSampleInfoExact(looped));
    looped.releaseLoop = {uint32_t(SampleLoopType::Forward), 10, 900};
    EXPECT_FALSE(smdi.IsSampleInfoExact(looped));

    smdi.DeleteSample(3);
    EXPECT_EQ(sampler.samples.count(3), 0u);
    EXPECT_THROW(smdi.DeleteSample(3), XSMDIEOPRejected);
    EXPECT_THROW(smdi.DeleteSample(-1), XSampleDoesNotExist);
    EXPECT_THROW(smdi.CreateReceiver(0x1000000), XSampleDoesNotExist);
}

TEST_F(SMDITransferTest, TheExtendedInterfaceKeepsPlayRangeAndReleaseLoop)
{
    CSMDIExtendedSamplerInterface extended(device);
    SampleInfo info = Info(16, 1, 400);
    info.playStart = 20;
    info.playEnd = 380;
    info.sustainLoop = {uint32_t(SampleLoopType::Forward), 50, 300};
    info.releaseLoop = {uint32_t(SampleLoopType::Alternating), 310, 370};
    EXPECT_TRUE(extended.IsSampleInfoExact(info));
    const std::vector<int16_t> words = Words<int16_t>(400, 16);
    Send(*extended.CreateTransmitter(8), info, words);

    SampleInfo back;
    extended.GetSampleInfo(back, 8);
    EXPECT_EQ(back, info);
    const SReceived received = Receive(*extended.CreateReceiver(8), 64);
    EXPECT_EQ(received.info, info);
    EXPECT_EQ(received.narrow, words);

    // The plain interface reads the same sample without the extra fields.
    SampleInfo plain;
    CSMDISamplerInterface(device).GetSampleInfo(plain, 8);
    EXPECT_EQ(plain.playStart, 0u);
    EXPECT_EQ(plain.releaseLoop.type, 0u);
    EXPECT_EQ(plain.sustainLoop.start, 50u);
}
