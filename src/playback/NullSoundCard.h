#pragma once
// The Null card: an output without hardware that consumes frames at the
// output rate, so that playback works (silently) on machines without a sound
// card. It can capture everything it is given into a WAV file, and its clock
// can run faster than real time or be advanced by hand, which makes playback
// verifiable frame by frame.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "playback/SoundCardRegistry.h"

namespace quorvel {

enum class NullClock {
    RealTime, // a timer thread services the queue; speed scales the pace
    Manual,   // no thread; AdvanceClock lets output time pass
};

struct NullCardOptions {
    std::string capturePath; // empty: no capture
    NullClock clock = NullClock::RealTime;
    double speed = 1.0; // RealTime only: 2.0 consumes frames twice as fast
};

class REGISTERED_NULL_SOUND_CARD : public CRegisteredSoundCard {
public:
    static constexpr const char* kType = "Null";
    static constexpr const char* kName = "No sound card (silent)";

    explicit REGISTERED_NULL_SOUND_CARD(NullCardOptions options = {});
    explicit REGISTERED_NULL_SOUND_CARD(const std::string& capturePath)
        : REGISTERED_NULL_SOUND_CARD(NullCardOptions{capturePath})
    {
    }

    std::unique_ptr<CSoundChannel> CreateChannel(int32_t outputRate, CABCSoundRenderer* first,
                                                 CABCSoundRenderer* second,
                                                 uint16_t channelCount) const override;

private:
    NullCardOptions options_;
};

// Appends frames to a WAV file whose sizes are brought up to date by Flush.
class CWaveCapture {
public:
    // ZMME_SOUND_EXCEPTION when the file cannot be created.
    CWaveCapture(const std::string& path, uint16_t channelCount, int32_t rate);
    ~CWaveCapture();
    CWaveCapture(const CWaveCapture&) = delete;
    CWaveCapture& operator=(const CWaveCapture&) = delete;

    void Append(const int16_t* interleaved, int32_t frames);
    void Flush();

private:
    std::FILE* file_;
    uint16_t channelCount_;
    uint32_t dataBytes_ = 0;
    std::vector<uint8_t> bytes_;
};

class NULL_CHANNEL : public CSoundChannel {
public:
    static constexpr int32_t kFramesPerBuffer = 1024;
    static constexpr int kBufferCount = 16;
    static constexpr uint16_t kLatencyCount = 15;
    static constexpr uint16_t kDefaultLatency = 14;

    NULL_CHANNEL(const CRegisteredSoundCard& card, int32_t outputRate, CABCSoundRenderer* first,
                 CABCSoundRenderer* second, uint16_t channelCount, const NullCardOptions& options);
    ~NULL_CHANNEL() override;

    void Start() override;
    void Stop() override;
    bool IsRunning() const override { return running_; }
    uint16_t LatencyCount() const override { return kLatencyCount; }
    void SelectLatency(uint16_t index) override;
    uint16_t SelectedLatency() const override { return latency_; }
    int32_t LatencyMs(uint16_t index) const override;
    uint32_t UnderrunCount() const override { return underruns_; }

    // Buffers kept queued by a latency setting.
    static int BuffersFor(uint16_t index) { return index + 2; }

    // Manual clock only: lets `frames` of output time pass, then services
    // the queue as the timer would.
    void AdvanceClock(int64_t frames);
    // Frames handed to the renderers since construction.
    int64_t FramesRendered() const { return framesRendered_; }

private:
    void TimerLoop();
    void ServiceStep();
    int InFlight() const;
    void FillAndWrite();
    void SetClockFromWatch();

    NullCardOptions options_;
    std::atomic<bool> running_{false};
    std::atomic<uint16_t> latency_{kDefaultLatency};
    std::atomic<uint32_t> underruns_{0};
    std::atomic<int64_t> framesRendered_{0};

    // Everything below is guarded by mutex_.
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
    std::thread timer_;
    std::vector<int16_t> memory_; // kBufferCount buffers of kFramesPerBuffer frames
    std::array<int64_t, kBufferCount> doneAt_{}; // output time each buffer finishes
    std::array<bool, kBufferCount> written_{};
    int64_t headersWritten_ = 0;
    int64_t clock_ = 0;    // output time since Start, in frames
    int64_t queueEnd_ = 0; // output time when everything written has played
    std::chrono::steady_clock::time_point startTime_;
    std::unique_ptr<CWaveCapture> capture_;
};

} // namespace quorvel
