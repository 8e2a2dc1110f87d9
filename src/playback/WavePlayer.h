#pragma once
// Plays one stretch of one sound into the sound channel and tells the
// interface which frame the listener hears. The channel's thread calls
// Render; everything else runs on the interface thread. The two sides meet
// only in the few fields under `lock_`, and the render side never waits for it.
#include <atomic>
#include <cstdint>

#include "playback/SoundChannel.h"

namespace quorvel {

class BAT;
class CMainLoop;
class WAVE_SAMPLE;

class CWavePlayerNotifier {
public:
    virtual ~CWavePlayerNotifier() = default;
    virtual void PlaybackStopped() = 0;
    virtual void PlaybackStarted() = 0;
};

class CWavePlayer : public CABCSoundRenderer {
public:
    static constexpr int32_t kOutputRate = 44100;
    static constexpr uint32_t kFractionBits = 15;
    static constexpr uint32_t kFractionOne = 1u << kFractionBits;

    enum class Command : int32_t { Start = 0, Stop = 1, LoopChanged = 2, None = 3 };
    enum class RenderState : int32_t { Idle = 0, Playing = 1, Draining = 2, Finished = 3 };

    // With a main loop, the player counts as an idle user while it plays so
    // that the idle step (and with it the play cursor) runs on every pass.
    explicit CWavePlayer(CMainLoop* mainLoop = nullptr);
    ~CWavePlayer() override;
    CWavePlayer(const CWavePlayer&) = delete;
    CWavePlayer& operator=(const CWavePlayer&) = delete;

    // Where the latency comes from: the open channel's selected setting,
    // or a fixed value while no channel is set. Stop the player before the
    // channel changes. A change takes effect at the next idle step.
    void SetChannel(const CSoundChannel* channel) { channel_ = channel; }
    void SetLatencyMilliseconds(int32_t milliseconds) { latencyMilliseconds_ = milliseconds; }

    // Interface thread. Both stop whatever plays first. A loop plays from
    // `start` to the right locator, then between the locators until Stop;
    // a range plays [start, end) once.
    void PlayLoop(WAVE_SAMPLE& sound, int32_t start, CWavePlayerNotifier* notifier);
    void PlayRange(WAVE_SAMPLE& sound, int32_t start, int32_t end, CWavePlayerNotifier* notifier);
    void PlayAll(WAVE_SAMPLE& sound, CWavePlayerNotifier* notifier);
    void Stop();

    // The frame the listener hears; the previous answer while the render
    // side holds the lock.
    int32_t HeardPosition();
    bool IsPlaying(const WAVE_SAMPLE* sound) const { return sound != nullptr && sound == sound_; }
    const WAVE_SAMPLE* Sound() const { return sound_; }
    // From the application's idle handler on every pass: follows locator
    // moves and brings a finished range to rest.
    void IdleStep();

    // Channel thread: `frames` frames of 16-bit stereo at kOutputRate.
    // Never blocks, never allocates.
    void Render(int16_t* stereoInterleaved, int32_t frames) override;

    // 17.15 fixed-point frames of the sound per output frame.
    static uint32_t RateStep(int32_t soundRate);
    // The channel latency in frames of a sound at `soundRate`.
    static int32_t LatencyFrames(int32_t soundRate, int32_t milliseconds);

protected:
    // One poll interval while a command waits for the render side to take
    // it. Tests that drive Render themselves render here instead.
    virtual void WaitForRenderer();

private:
    bool TryLock() { return lock_.exchange(1, std::memory_order_acquire) == 0; }
    void Unlock() { lock_.exchange(0, std::memory_order_release); }
    void Lock();

    int32_t CurrentLatencyMs() const { return channel_ ? channel_->CurrentLatencyMs() : latencyMilliseconds_; }
    void Play(WAVE_SAMPLE& sound, int32_t start, int32_t end, bool loop, CWavePlayerNotifier* notifier);
    void Launch();
    void AdvanceDisplay();
    void WrapDisplay();

    // Interface side; the render side never reads these.
    WAVE_SAMPLE* sound_ = nullptr;
    const BAT* store_ = nullptr;
    CMainLoop* mainLoop_ = nullptr;
    const CSoundChannel* channel_ = nullptr;
    CWavePlayerNotifier* notifier_ = nullptr;
    int32_t latencyMilliseconds_ = 0;
    int32_t cachedPosition_ = 0;
    bool countedAsIdleUser_ = false;

    // Shared, under the lock.
    std::atomic<uint32_t> lock_{0};
    Command command_ = Command::None;
    bool loopFlag_ = false;
    const BAT* requestedStore_ = nullptr;
    int32_t requestedStart_ = 0;
    int32_t requestedLoopStart_ = 0;
    int32_t requestedLoopEnd_ = 0;
    int32_t requestedEnd_ = 0;
    uint32_t stepWhole_ = 1;
    uint32_t stepFraction_ = 0;
    RenderState stateSeen_ = RenderState::Idle;
    int32_t heardPosition_ = 0;
    int32_t latencyFrames_ = 0;

    // The render side's own.
    const BAT* renderStore_ = nullptr;
    RenderState renderState_ = RenderState::Idle;
    uint32_t renderStepWhole_ = 1;
    uint32_t renderStepFraction_ = 0;
    uint32_t playFraction_ = 0;
    int32_t playPosition_ = 0;
    int32_t segmentStart_ = 0;
    int32_t loopStart_ = 0;
    int32_t loopEnd_ = 0;
    int32_t playEnd_ = 0;
    bool renderLoopFlag_ = false;
    int32_t renderLatency_ = 0;
    uint32_t displayFraction_ = 0;
    int32_t displayPosition_ = 0;
    int32_t displayStart_ = 0;
    int32_t displayEnd_ = 0;
};

} // namespace quorvel
