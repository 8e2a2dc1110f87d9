#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "document/WaveSample.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SamplerExceptions.h"

using namespace quorvel;

namespace {

// Records every chunk; like a brand transmitter it needs one call after the
// last chunk to complete the final handshake.
class RecordingTransmitter : public CABCSampleTransmitter {
public:
    explicit RecordingTransmitter(uint32_t chunk, int32_t words = 1) : chunk_(chunk), words_(words) {}
    ~RecordingTransmitter() override { StopQuietly(); }
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override
    {
        wordsPerFrame = words_;
        channels = std::max<uint32_t>(info.channelCount, 1);
        this->argument = argument;
        Activate(chunk_);
    }
    void TransmitChunk(uint32_t frames, SSampleWords samples) override
    {
        calls.push_back(frames);
        if (FramesDone() == FramesTotal()) {
            ++finalHandshakes;
            FinishTransmission();
            return;
        }
        const size_t words = size_t(frames) * channels;
        if (samples.wide)
            sentWide.insert(sentWide.end(), samples.wide, samples.wide + words);
        else
            sent.insert(sent.end(), samples.narrow, samples.narrow + words);
        AdvanceDone(frames);
    }
    void AbortTransmission() override
    {
        ++aborts;
        FinishTransmission();
    }
    std::vector<uint32_t> calls;
    std::vector<int16_t> sent;
    std::vector<int32_t> sentWide;
    uint32_t channels = 1;
    int finalHandshakes = 0;
    int aborts = 0;
    int32_t argument = 0;

private:
    uint32_t chunk_;
    int32_t words_;
};

class ScriptedProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t percent) override { percents.push_back(percent); }
    bool CancelRequested() override { return ++asked == cancelAtAsk; }
    std::vector<int32_t> percents;
    int asked = 0;
    int cancelAtAsk = -1;
};

SampleInfo InfoOfLength(uint32_t length)
{
    SampleInfo info;
    info.bits = 16;
    info.length = length;
    return info;
}

} // namespace

TEST(TransmitSampleTest, SendsChunksPadsPastTheSourceAndCompletesTheLastHandshake)
{
    const std::vector<int16_t> source{1, -2, 3, -4, 5, -6, 7};
    RecordingTransmitter transmitter(3);
    ScriptedProgress progress;
    TransmitSample(transmitter, InfoOfLength(10), 42, source, progress);

    EXPECT_EQ(transmitter.argument, 42);
    EXPECT_EQ(transmitter.calls, (std::vector<uint32_t>{3, 3, 3, 1, 0}));
    EXPECT_EQ(transmitter.sent, (std::vector<int16_t>{1, -2, 3, -4, 5, -6, 7, 0, 0, 0}));
    EXPECT_EQ(transmitter.finalHandshakes, 1);
    EXPECT_FALSE(transmitter.IsActive());
    EXPECT_EQ(progress.percents, (std::vector<int32_t>{0, 30, 60, 90, 100, 100}));
}

TEST(TransmitSampleTest, ASourceLongerThanTheSampleSendsOnlyTheAnnouncedFrames)
{
    WAVE_SAMPLE sound("Loop", 44100, 9);
    for (int32_t i = 0; i < 9; ++i)
        sound.Store().WriteSample(static_cast<uint32_t>(i), static_cast<int16_t>(100 + i));
    RecordingTransmitter transmitter(4);
    ScriptedProgress progress;
    TransmitSample(transmitter, InfoOfLength(5), 0, sound, progress);
    EXPECT_EQ(transmitter.sent, (std::vector<int16_t>{100, 101, 102, 103, 104}));
}

TEST(TransmitSampleTest, AnEmptySampleStillCompletesItsHandshake)
{
    RecordingTransmitter transmitter(40);
    ScriptedProgress progress;
    TransmitSample(transmitter, InfoOfLength(0), 0, std::span<const int16_t>(), progress);
    EXPECT_EQ(transmitter.calls, (std::vector<uint32_t>{0}));
    EXPECT_EQ(transmitter.finalHandshakes, 1);
}

TEST(TransmitSampleTest, CancelStopsTheTransmitterAndThrows)
{
    const std::vector<int16_t> source(100, 1);
    RecordingTransmitter transmitter(10);
    ScriptedProgress progress;
    progress.cancelAtAsk = 3;
    EXPECT_THROW(TransmitSample(transmitter, InfoOfLength(100), 0, source, progress), XSampleTransmitCancelled);
    EXPECT_EQ(transmitter.calls.size(), 2u);
    EXPECT_EQ(transmitter.aborts, 1);
    EXPECT_FALSE(transmitter.IsActive());
}

TEST(TransmitSampleTest, WordsTakeTheWidthTheTransmitterAsksFor)
{
    const std::vector<int16_t> narrow{1, -1, 32767, -32768};
    RecordingTransmitter widening(4, 2);
    ScriptedProgress progress;
    TransmitSample(widening, InfoOfLength(4), 0, narrow, progress);
    EXPECT_EQ(widening.sentWide, (std::vector<int32_t>{0x10000, -0x10000, 0x7FFF0000, INT32_MIN}));

    const std::vector<int32_t> wide{0x12345678, -0x10000, 0x7FFFFFFF, INT32_MIN};
    RecordingTransmitter narrowing(4, 1);
    TransmitSample(narrowing, InfoOfLength(4), 0, wide, progress);
    EXPECT_EQ(narrowing.sent, (std::vector<int16_t>{0x1234, -1, 32767, -32768}));

    RecordingTransmitter odd(4, 3);
    EXPECT_THROW(TransmitSample(odd, InfoOfLength(4), 0, narrow, progress), XExternalDeviceException);
    EXPECT_TRUE(odd.calls.empty());
    EXPECT_EQ(odd.aborts, 1);
}

TEST(TransmitSampleTest, StereoFramesTravelInterleavedAndPadWholeFrames)
{
    // Three stereo frames into chunks of two: the fourth frame is padding.
    const std::vector<int16_t> source{1, -1, 2, -2, 3, -3};
    RecordingTransmitter transmitter(2);
    ScriptedProgress progress;
    SampleInfo info = InfoOfLength(4);
    info.channelCount = 2;
    TransmitSample(transmitter, info, 0, source, progress);
    EXPECT_EQ(transmitter.sent, (std::vector<int16_t>{1, -1, 2, -2, 3, -3, 0, 0}));
    EXPECT_EQ(transmitter.calls, (std::vector<uint32_t>{2, 2, 0}));
}

TEST(TransmitterBaseTest, ChunkSizesFollowWhatIsLeftAndStopOnlyWhenActive)
{
    RecordingTransmitter transmitter(4);
    uint32_t frames = 99;
    EXPECT_FALSE(transmitter.NextChunkSize(frames));
    EXPECT_EQ(frames, 0u);
    EXPECT_EQ(transmitter.TransmitNext(static_cast<const int16_t*>(nullptr)), 0u);
    transmitter.StopIfActive();
    EXPECT_EQ(transmitter.aborts, 0);
    EXPECT_EQ(transmitter.GetResultSampleNumber(), -1);

    int32_t words = 0;
    EXPECT_EQ(transmitter.StartTransmission(InfoOfLength(6), words, 0), 4u);
    const int16_t data[4] = {1, 2, 3, 4};
    EXPECT_EQ(transmitter.TransmitNext(data), 4u);
    ASSERT_TRUE(transmitter.NextChunkSize(frames));
    EXPECT_EQ(frames, 2u);
    EXPECT_EQ(transmitter.TransmitNext(data), 2u);
    ASSERT_TRUE(transmitter.NextChunkSize(frames));
    EXPECT_EQ(frames, 0u);
    EXPECT_EQ(transmitter.TransmitNext(data), 0u);
    EXPECT_FALSE(transmitter.IsActive());
}

namespace {

class CountingReceiver : public CABCSampleReceiver {
public:
    ~CountingReceiver() override { StopQuietly(); }
    void BeginReception(SampleInfo& info, int32_t, int32_t& wordsPerFrame) override
    {
        info.length = 7;
        wordsPerFrame = 1;
        SetChunkSize(3);
        StartReception(7);
    }
    SSampleWords ReceiveChunk(uint32_t frames) override
    {
        for (uint32_t i = 0; i < frames; ++i)
            buffer_[i] = static_cast<int16_t>(FramesDone() + i);
        AddDone(frames);
        if (FramesDone() == FramesTotal())
            FinishReception();
        return buffer_;
    }
    void AbortReception() override
    {
        ++aborts;
        if (abortsSeen)
            ++*abortsSeen;
        FinishReception();
    }
    int aborts = 0;
    int* abortsSeen = nullptr;

private:
    int16_t buffer_[3] = {};
};

} // namespace

TEST(ReceiveSampleTest, CollectsEveryChunkOrAbortsOnCancel)
{
    CountingReceiver receiver;
    ScriptedProgress progress;
    const SReceivedSample received = ReceiveSample(receiver, 0, progress);
    EXPECT_EQ(received.narrow, (std::vector<int16_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(progress.percents.back(), 100);
    EXPECT_FALSE(receiver.IsActive());

    CountingReceiver cancelled;
    ScriptedProgress cancelling;
    cancelling.cancelAtAsk = 2;
    EXPECT_THROW(ReceiveSample(cancelled, 0, cancelling), XSampleReceiveCancelled);
    EXPECT_EQ(cancelled.aborts, 1);
    EXPECT_EQ(cancelled.FramesDone(), 3u);
}

TEST(ReceiveSampleTest, DestroyingAnActiveReceiverAbortsIt)
{
    int aborts = 0;
    {
        CountingReceiver receiver;
        receiver.abortsSeen = &aborts;
        SampleInfo info;
        int32_t words = 0;
        receiver.BeginReception(info, 0, words);
        uint32_t frames = 0;
        SSampleWords samples;
        ASSERT_TRUE(receiver.ReceiveNext(frames, samples));
        EXPECT_EQ(frames, 3u);
        EXPECT_EQ(samples.narrow[2], 2);
    }
    EXPECT_EQ(aborts, 1);
    {
        CountingReceiver finished;
        finished.abortsSeen = &aborts;
    }
    EXPECT_EQ(aborts, 1);
}
