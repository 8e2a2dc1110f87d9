// The EPS-family exchange against a scripted sampler: encodings, every
// status, the waits and holds, and waves sent and read back.
#include <gtest/gtest.h>

#include "devices/midi/SysexMIDIInput.h"
#include "samplers/SampleTransfer.h"
#include "samplers/ensoniq/EnsoniqEncoding.h"
#include "samplers/ensoniq/EnsoniqExceptions.h"
#include "samplers/ensoniq/EnsoniqInterface.h"
#include "samplers/ensoniq/EnsoniqMessages.h"
#include "samplers/ensoniq/EnsoniqTransfer.h"
#include "FakeEnsoniqSampler.h"
#include "ScriptedMIDIPorts.h"

namespace quorvel::test {
namespace {

using namespace ensoniq;

class NoProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

// When the messages of `length` bytes starting with `prefix` were sent.
std::vector<uint64_t> TimesOf(const RecordingOutput& output, const Bytes& prefix, size_t length)
{
    std::vector<uint64_t> times;
    for (const auto& piece : output.pieces)
        if (piece.bytes.size() == length && std::equal(prefix.begin(), prefix.end(), piece.bytes.begin()))
            times.push_back(piece.time);
    return times;
}

class EnsoniqProtocolTest : public ::testing::Test, protected ScriptedMIDIPorts {
protected:
    FakeEnsoniqSampler sampler{clock, input, output, 2};
    CEPS16Interface eps16{parser, output, 2};
    NoProgress progress;

    static SampleInfo Info(uint32_t length, uint8_t channels = 1)
    {
        SampleInfo info;
        info.SetName("LOOP 01");
        info.channelCount = channels;
        info.bits = 16;
        info.rate = 44100;
        info.length = length;
        info.playEnd = length - 1;
        info.rootKey = 36;
        info.keyByte2 = 36;
        info.keyByte3 = 36;
        return info;
    }
    static std::vector<int16_t> Ramp(size_t count)
    {
        std::vector<int16_t> words(count);
        for (size_t k = 0; k < count; ++k)
            words[k] = static_cast<int16_t>(k * 7919 + 0x8001);
        return words;
    }
};

TEST(EnsoniqEncodingTest, NumbersTravelSixBitsAByteMostSignificantFirst)
{
    uint8_t bytes[4];
    EncodeWord(static_cast<int16_t>(0x8001), bytes);
    EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{0x08, 0x00, 0x01}));
    EncodeWord(-1, bytes);
    EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{0x0F, 0x3F, 0x3F}));
    EXPECT_EQ(DecodeWord(bytes), -1);
    Encode12(0xFFF, bytes);
    EXPECT_EQ(Bytes(bytes, bytes + 2), (Bytes{0x3F, 0x3F}));
    Encode24(0x123456, bytes);
    EXPECT_EQ(Bytes(bytes, bytes + 4), (Bytes{0x04, 0x23, 0x11, 0x16}));
    EXPECT_EQ(Decode24(bytes), 0x123456u);

    const CRawSysex range = RangeMessage({3, 5}, kPutWaveData, {1, 0, 2}, 256, 512);
    EXPECT_EQ(Bytes(range.GetData(), range.GetData() + range.GetLength()),
              (Bytes{0xF0, 0x0F, 0x03, 0x05, 15, 0, 1, 0, 0, 0, 2, 0, 0, 4, 0, 0, 0, 8, 0, 0xF7}));
    EXPECT_EQ(ResponseMessage({3, 0}, 23).GetLength(), 8);
    EXPECT_EQ(CancelMessage({3, 0}).GetLength(), 6);
    EXPECT_EQ(ValueMessage({3, 0}, 1).GetData()[4], 0x40);
}

TEST(EnsoniqEncodingTest, ChunkSizesStayBetween256And4096Frames)
{
    EXPECT_EQ(ClampChunkFrames(100), 256u);
    EXPECT_EQ(ClampChunkFrames(5000), 4096u);
    EXPECT_EQ(ClampChunkFrames(1000), 1000u);
    EXPECT_EQ(ClampChunkFrames(65536), 4096u);
    EXPECT_EQ(ClampChunkFrames(0), kDefaultChunkFrames);
}

TEST_F(EnsoniqProtocolTest, EveryRefusingStatusHasItsException)
{
    const auto refusedWith = [&](uint32_t status, auto expected) {
        sampler.refuse[21] = status;
        EXPECT_THROW(eps16.CreateInstrument(0), decltype(expected)) << "status " << status;
    };
    refusedWith(3, XEnsoniqInvalidParameter());
    refusedWith(5, XEnsoniqInvalidTarget());
    refusedWith(6, XEnsoniqInvalidTarget());
    refusedWith(8, XEnsoniqInvalidTarget());
    refusedWith(12, XEnsoniqOutOfMemory());
    refusedWith(23, XEnsoniqNotAcknowledged());
    refusedWith(2, XEnsoniqErrorResponse());
    refusedWith(99, XEnsoniqErrorResponse());
    EXPECT_NO_THROW(eps16.CreateInstrument(0));
    static_assert(std::is_base_of_v<XExternalDeviceOutOfMemory, XEnsoniqOutOfMemory>);
    static_assert(std::is_base_of_v<XSysexInvalidSize, XEnsoniqInvalidSize>);
}

TEST_F(EnsoniqProtocolTest, CancelsBadResponsesAndOtherSamplersMessages)
{
    CEnsoniqLink& link = eps16.Link();
    // Another product and another channel answer first with refusals; both are passed over.
    input.At(clock.now + 2, FakeEnsoniqSampler::Frame(2, {0x01, 0x00, 0x03}, 4));
    input.At(clock.now + 3, FakeEnsoniqSampler::Frame(7, {0x01, 0x00, 0x03}));
    input.At(clock.now + 4, sampler.Response(0));
    EXPECT_EQ(link.AwaitReply(100), nullptr);

    input.At(clock.now + 2, FakeEnsoniqSampler::Frame(2, {0x02}));
    EXPECT_THROW(link.AwaitReply(100), XEnsoniqCancelled);
    input.At(clock.now + 2, FakeEnsoniqSampler::Frame(2, {0x01, 0x00, 0x00, 0x00}));
    EXPECT_THROW(link.AwaitReply(100), XEnsoniqInvalidSize);
    EXPECT_THROW(link.AwaitReply(100), XSysexTimedOut);
    // Data whose first byte reads as the response command is still data when its length is awaited.
    const Bytes data = FakeEnsoniqSampler::Frame(2, {0x01, 0x00, 0x00});
    input.At(clock.now + 2, data);
    const auto message = link.AwaitReply(100, static_cast<int32_t>(data.size()));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetLength(), 8);
}

TEST_F(EnsoniqProtocolTest, EachStatusOneExtendsTheWaitBy30Seconds)
{
    sampler.instruments[0];
    // Two waits, 25 s apart: the answer comes 50 s after the request, long
    // past the 6 s time-out but within its two extensions.
    sampler.waits[28] = 2;
    sampler.waitGap = 25000;
    const uint64_t start = clock.now;
    EXPECT_NO_THROW(eps16.DeleteInstrument(0));
    EXPECT_GE(clock.now - start, 50000u);
    EXPECT_EQ(sampler.acknowledgements, 2); // each wait is answered with status 0

    // Without the waits, the same silence ends the wait.
    sampler.answerDelay = 7000;
    EXPECT_THROW(eps16.CreateInstrument(0), XSysexTimedOut);
}

TEST_F(EnsoniqProtocolTest, ParameterReadsCheckTheAddressReplyAndHoldTheNextSend)
{
    sampler.instruments[1].name = "DRUMS";
    CEnsoniqInstrumentParameters block;
    ASSERT_TRUE(eps16.ReadInstrument(1, block));
    EXPECT_EQ(block.Name(), "DRUMS");
    EXPECT_EQ(block.Word(ensoniq::instrument::kIdField), 0xFFFF);
    const uint64_t readDone = clock.now;
    eps16.CreateLayer(1, 1);
    const auto sends = TimesOf(output, {0xF0, 0x0F, 0x03, 0x02, 22}, 12);
    ASSERT_EQ(sends.size(), 1u);
    EXPECT_GE(sends[0], readDone + CEnsoniqLink::kReadHoldMs - 5);
    EXPECT_FALSE(eps16.ReadInstrument(4, block));

    // An address reply for another instrument is not the one asked for.
    Bytes wrong{12};
    Put12(wrong, 2);
    Put12(wrong, 0);
    Put12(wrong, 1);
    output.onPiece = [&](const Bytes&) { input.At(clock.now + 1, FakeEnsoniqSampler::Frame(2, wrong)); };
    EXPECT_THROW(eps16.ReadInstrument(1, block), XEnsoniqUnexpectedResponse);
}

TEST_F(EnsoniqProtocolTest, AWaveGoesInChunksAndComesBackBitExact)
{
    sampler.instruments[3];
    const std::vector<int16_t> words = Ramp(5000);
    SampleInfo info = Info(5000);
    eps16.AdaptSampleInfo(info);
    auto transmitter = eps16.CreateMonoTransmitter(3);
    TransmitSample(*transmitter, info, 100, std::span<const int16_t>(words), progress);
    EXPECT_FALSE(transmitter->IsActive());
    EXPECT_EQ(transmitter->GetResultSampleNumber(), 3 * 128 + 1);
    // A wanted chunk of 100 frames becomes 256.
    ASSERT_EQ(sampler.announced.size(), 20u);
    EXPECT_EQ(sampler.announced[0], std::make_pair(0u, 256u));
    EXPECT_EQ(sampler.announced.back(), std::make_pair(4864u, 5000u));
    // Wave data writes are 900 ms apart at least.
    const auto announces = TimesOf(output, {0xF0, 0x0F, 0x03, 0x02, 15}, 20);
    ASSERT_EQ(announces.size(), 20u);
    EXPECT_GE(announces[1] - announces[0], CEnsoniqLink::kWaveWriteHoldMs);
    // After the last chunk: the wave's parameters, then the layer's, which
    // plays the wave on its key.
    EXPECT_EQ(sampler.instruments[3].layers[0][36 - 21], 1);
    ASSERT_GE(sampler.commands.size(), 2u);
    EXPECT_EQ(sampler.commands[sampler.commands.size() - 2], 14);
    EXPECT_EQ(sampler.commands.back(), 13);
    transmitter.reset();
    EXPECT_EQ(sampler.commands.back(), 13); // finished: nothing is deleted

    auto receiver = eps16.CreateReceiver(3 * 128 + 1);
    const SReceivedSample back = ReceiveSample(*receiver, kWantedFramesPerPacket, progress);
    EXPECT_EQ(back.info, info);
    EXPECT_EQ(back.narrow, words);

    CSampleList list;
    eps16.FillSampleList(0, list, 0);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0)->Name(), "LOOP 01");
    EXPECT_EQ(list.Get(0)->Number(), 3 * 128 + 1);
    eps16.DeleteSample(3 * 128 + 1);
    EXPECT_THROW(eps16.DeleteSample(3 * 128 + 1), XSampleDoesNotExist);
    int32_t perFrame = 0;
    EXPECT_THROW(eps16.CreateReceiver(3 * 128 + 1)->BeginReception(info, 0, perFrame), XSampleDoesNotExist);
    EXPECT_THROW(eps16.CreateReceiver(3 * 128)->BeginReception(info, 0, perFrame), XSampleDoesNotExist)
        << "waves are numbered from 1";
}

TEST_F(EnsoniqProtocolTest, AnUnfinishedTransmitterDeletesItsWave)
{
    sampler.instruments[0];
    const std::vector<int16_t> words = Ramp(1000);
    {
        auto transmitter = eps16.CreateMonoTransmitter(0);
        int32_t perFrame = 0;
        transmitter->StartTransmission(Info(1000), perFrame, 256);
        transmitter->TransmitNext(words.data());
    }
    const uint64_t destroyed = clock.now;
    EXPECT_EQ(sampler.cancels, 1);
    EXPECT_EQ(sampler.commands.back(), 26);
    EXPECT_EQ(sampler.instruments[0].waves.count(1), 0u);
    eps16.CreateLayer(0, 1);
    EXPECT_GE(TimesOf(output, {0xF0, 0x0F, 0x03, 0x02, 22}, 12).back(),
              destroyed + CEnsoniqSampleTransmitter::kCleanUpHoldMs - 10);
}

TEST_F(EnsoniqProtocolTest, ANewWaveTakesTheFirstNumberNoKeyPlays)
{
    auto& map = sampler.instruments[0].layers[0];
    for (uint8_t k = 0; k < 40; ++k) {
        map[k] = static_cast<uint8_t>(k + 1);
        sampler.instruments[0].waves[k + 1];
    }
    map[3] = 0;
    EXPECT_EQ(eps16.CreateMonoTransmitter(0)->GetResultSampleNumber(), 4) << "wave 4 plays no key";
    // The new layer's own wave, on no key yet, is taken over.
    sampler.instruments[0].layers[0] = {};
    EXPECT_EQ(eps16.CreateMonoTransmitter(0)->GetResultSampleNumber(), 1);
    sampler.refuse[25] = 15;
    EXPECT_THROW(eps16.CreateMonoTransmitter(0), XEnsoniqAllWavesUsedUp);
    EXPECT_THROW(eps16.CreateMonoTransmitter(1), XEnsoniqInvalidTarget) << "there is no instrument 2";
}

class ASR10StereoTest : public EnsoniqProtocolTest {
protected:
    CASR10Interface asr10{parser, output, 2};
};

TEST_F(ASR10StereoTest, OnlyAStereoLayerTakesAStereoWave)
{
    sampler.instruments[0].layers[1];
    sampler.instruments[0].stereoLayer[1] = true;
    EXPECT_THROW(asr10.CreateTransmitterFor(0, 0), XASR10LayerIsNotStereo);
    static_assert(std::is_base_of_v<XSampleLocationCannotHoldStereo, XASR10LayerIsNotStereo>);

    const std::vector<int16_t> words = Ramp(2 * 600);
    SampleInfo info = Info(600, 2);
    asr10.AdaptSampleInfo(info);
    ASSERT_EQ(info.channelCount, 2);
    auto transmitter = asr10.CreateTransmitterFor(0, 1);
    ASSERT_NE(transmitter, nullptr);
    TransmitSample(*transmitter, info, 0, std::span<const int16_t>(words), progress);
    EXPECT_EQ(sampler.instruments[0].waves[1].layer, 1u);

    auto both = asr10.CreateReceiver(1);
    const SReceivedSample stereo = ReceiveSample(*both, 0, progress);
    EXPECT_EQ(stereo.info.channelCount, 2);
    EXPECT_EQ(stereo.narrow.size(), words.size());
    EXPECT_EQ(stereo.narrow, words);
    auto right = asr10.CreateReceiverFor(1, CEnsoniqSampleReceiver::kRight);
    const SReceivedSample side = ReceiveSample(*right, 0, progress);
    EXPECT_EQ(side.info.channelCount, 1);
    ASSERT_EQ(side.narrow.size(), 600u);
    EXPECT_EQ(side.narrow[5], words[11]);

    // The EPS-16+ keeps samples mono.
    SampleInfo mono = Info(600, 2);
    eps16.AdaptSampleInfo(mono);
    EXPECT_EQ(mono.channelCount, 1);
}

} // namespace
} // namespace quorvel::test
