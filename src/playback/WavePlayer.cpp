#include "playback/WavePlayer.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "document/BAT.h"
#include "document/WaveSample.h"
#include "framework/MainLoop.h"

namespace quorvel {

namespace {

constexpr auto kLockRetry = std::chrono::milliseconds(2);
constexpr auto kCommandPoll = std::chrono::milliseconds(5);

} // namespace

CWavePlayer::CWavePlayer(CMainLoop* mainLoop) : mainLoop_(mainLoop) {}

CWavePlayer::~CWavePlayer() = default;

uint32_t CWavePlayer::RateStep(int32_t soundRate)
{
    const uint64_t step = uint64_t(std::max(soundRate, 0)) * kFractionOne / uint64_t(kOutputRate);
    // A step of zero would never reach the end of a range.
    return uint32_t(std::clamp<uint64_t>(step, 1, UINT32_MAX));
}

int32_t CWavePlayer::LatencyFrames(int32_t soundRate, int32_t milliseconds)
{
    const uint64_t frames = uint64_t(std::max(soundRate, 0)) * uint64_t(std::max(milliseconds, 0)) / 1000u;
    return int32_t(std::min<uint64_t>(frames, INT32_MAX));
}

void CWavePlayer::Lock()
{
    while (!TryLock())
        std::this_thread::sleep_for(kLockRetry);
}

void CWavePlayer::WaitForRenderer()
{
    std::this_thread::sleep_for(kCommandPoll);
}

void CWavePlayer::PlayLoop(WAVE_SAMPLE& sound, int32_t start, CWavePlayerNotifier* notifier)
{
    Play(sound, start, sound.LoopEnd(), true, notifier);
}

void CWavePlayer::PlayRange(WAVE_SAMPLE& sound, int32_t start, int32_t end, CWavePlayerNotifier* notifier)
{
    Play(sound, start, end, false, notifier);
}

void CWavePlayer::PlayAll(WAVE_SAMPLE& sound, CWavePlayerNotifier* notifier)
{
    if (sound.Length() > 0)
        PlayRange(sound, 0, sound.Length(), notifier);
}

void CWavePlayer::Play(WAVE_SAMPLE& sound, int32_t start, int32_t end, bool loop, CWavePlayerNotifier* notifier)
{
    Stop();
    const int32_t length = sound.Length();
    if (length <= 0)
        return;
    int32_t loopStart = sound.LoopStart();
    int32_t loopEnd = sound.LoopEnd();
    if (loopStart == loopEnd) {
        if (loopStart < 1)
            loopEnd = loopStart + 1;
        else
            loopStart = loopStart - 1;
    }
    // Every frame the render side reads must lie inside the sound: a range
    // is clipped to it, and a loop started at or after its end starts at
    // the loop instead.
    end = std::clamp(end, 0, length);
    start = std::clamp(start, 0, length);
    if (loop) {
        loopStart = std::clamp(loopStart, 0, length - 1);
        loopEnd = std::clamp(loopEnd, loopStart + 1, length);
        end = loopEnd;
        if (start >= end)
            start = loopStart;
    } else if (start >= end) {
        return;
    }

    const uint32_t step = RateStep(sound.SampleRate());
    Lock();
    loopFlag_ = loop;
    requestedStore_ = &sound.Store();
    requestedStart_ = start;
    requestedLoopStart_ = loopStart;
    requestedLoopEnd_ = loopEnd;
    requestedEnd_ = end;
    latencyFrames_ = LatencyFrames(sound.SampleRate(), CurrentLatencyMs());
    stepWhole_ = step >> kFractionBits;
    stepFraction_ = step & (kFractionOne - 1);
    Unlock();

    sound_ = &sound;
    store_ = &sound.Store();
    notifier_ = notifier;
    Launch();
}

void CWavePlayer::Launch()
{
    bool posted = false;
    Lock();
    if (stateSeen_ == RenderState::Idle) {
        command_ = Command::Start;
        posted = true;
    }
    Unlock();
    if (!posted) {
        // Only reachable if a previous stop never completed; nothing plays.
        sound_ = nullptr;
        store_ = nullptr;
        notifier_ = nullptr;
        return;
    }
    for (;;) {
        WaitForRenderer();
        if (!TryLock())
            continue;
        const bool taken = stateSeen_ != RenderState::Idle;
        Unlock();
        if (taken)
            break;
    }
    if (mainLoop_ && !countedAsIdleUser_) {
        mainLoop_->AddIdleUser();
        countedAsIdleUser_ = true;
    }
    if (notifier_)
        notifier_->PlaybackStarted();
}

void CWavePlayer::Stop()
{
    bool posted = false;
    Lock();
    if (stateSeen_ != RenderState::Idle) {
        command_ = Command::Stop;
        posted = true;
    }
    Unlock();
    if (!posted)
        return;
    for (;;) {
        WaitForRenderer();
        if (!TryLock())
            continue;
        const bool idle = stateSeen_ == RenderState::Idle;
        Unlock();
        if (idle)
            break;
    }
    sound_ = nullptr;
    store_ = nullptr;
    CWavePlayerNotifier* notifier = notifier_;
    notifier_ = nullptr;
    if (notifier)
        notifier->PlaybackStopped();
    if (mainLoop_ && countedAsIdleUser_) {
        mainLoop_->RemoveIdleUser();
        countedAsIdleUser_ = false;
    }
}

int32_t CWavePlayer::HeardPosition()
{
    if (TryLock()) {
        cachedPosition_ = heardPosition_;
        Unlock();
    }
    return cachedPosition_;
}

void CWavePlayer::IdleStep()
{
    if (!sound_)
        return;
    const int32_t latency = LatencyFrames(sound_->SampleRate(), CurrentLatencyMs());
    if (!TryLock())
        return;
    latencyFrames_ = latency;
    if (stateSeen_ == RenderState::Finished) {
        Unlock();
        Stop();
        return;
    }
    const int32_t left = sound_->LoopStart();
    const int32_t right = sound_->LoopEnd();
    // A range does not follow the locators: moving them must neither stretch
    // nor cut an audition that has nothing to do with the loop.
    if (loopFlag_ && command_ == Command::None && (left != requestedLoopStart_ || right != requestedLoopEnd_)) {
        if (left == right) {
            Unlock();
            Stop();
            return;
        }
        command_ = Command::LoopChanged;
        requestedLoopStart_ = left;
        requestedLoopEnd_ = right;
    }
    Unlock();
}

void CWavePlayer::AdvanceDisplay()
{
    displayFraction_ += renderStepFraction_;
    displayPosition_ += int32_t(renderStepWhole_);
    if (displayFraction_ >= kFractionOne) {
        displayFraction_ -= kFractionOne;
        ++displayPosition_;
    }
}

void CWavePlayer::WrapDisplay()
{
    // The heard frame is the one written a latency ago, folded back into
    // the pass being played. Folding in one step keeps the cost fixed for
    // a tiny loop under a long latency.
    displayPosition_ = playPosition_ - renderLatency_;
    const int32_t passLength = playEnd_ - segmentStart_;
    if (displayPosition_ < segmentStart_) {
        if (passLength > 0) {
            const int64_t behind = int64_t(segmentStart_) - displayPosition_;
            const int64_t passes = (behind + passLength - 1) / passLength;
            displayPosition_ = int32_t(displayPosition_ + passes * passLength);
        } else {
            displayPosition_ = segmentStart_;
        }
    }
    displayStart_ = segmentStart_;
    displayEnd_ = playEnd_;
    displayFraction_ = 0;
}

void CWavePlayer::Render(int16_t* out, int32_t frames)
{
    if (TryLock()) {
        renderLatency_ = latencyFrames_;
        switch (command_) {
        case Command::Start:
            renderState_ = RenderState::Playing;
            renderStore_ = requestedStore_;
            renderStepWhole_ = stepWhole_;
            renderStepFraction_ = stepFraction_;
            playFraction_ = 0;
            displayFraction_ = 0;
            playPosition_ = segmentStart_ = requestedStart_;
            loopStart_ = requestedLoopStart_;
            loopEnd_ = requestedLoopEnd_;
            playEnd_ = displayEnd_ = requestedEnd_;
            renderLoopFlag_ = loopFlag_;
            displayPosition_ = requestedStart_ - latencyFrames_;
            displayStart_ = requestedStart_;
            break;
        case Command::Stop:
            renderState_ = RenderState::Idle;
            renderStore_ = nullptr;
            break;
        case Command::LoopChanged:
            loopStart_ = requestedLoopStart_;
            loopEnd_ = requestedLoopEnd_;
            if (renderLoopFlag_) {
                if (playPosition_ < loopEnd_)
                    playEnd_ = loopEnd_;
                if (displayPosition_ < loopEnd_)
                    displayEnd_ = loopEnd_;
            }
            break;
        case Command::None:
            break;
        }
        command_ = Command::None;
        stateSeen_ = renderState_;
        Unlock();
    }

    int32_t done = 0;
    if (renderState_ == RenderState::Playing) {
        const BAT& store = *renderStore_;
        for (; done < frames && renderState_ == RenderState::Playing; ++done) {
            const int32_t a = store.ReadSample(uint32_t(playPosition_));
            int32_t b = 0;
            if (playPosition_ + 1 < playEnd_)
                b = store.ReadSample(uint32_t(playPosition_ + 1));
            else if (renderLoopFlag_)
                b = store.ReadSample(uint32_t(loopStart_));
            const int32_t value = std::clamp(a + (b - a) * int32_t(playFraction_) / int32_t(kFractionOne), -32768, 32767);
            out[2 * done] = out[2 * done + 1] = int16_t(value);

            playFraction_ += renderStepFraction_;
            playPosition_ += int32_t(renderStepWhole_);
            if (playFraction_ >= kFractionOne) {
                playFraction_ -= kFractionOne;
                ++playPosition_;
            }
            if (playPosition_ >= playEnd_) {
                if (renderLoopFlag_) {
                    playPosition_ = segmentStart_ = loopStart_;
                    playEnd_ = loopEnd_;
                    playFraction_ = 0;
                } else {
                    renderState_ = RenderState::Draining;
                }
            }

            AdvanceDisplay();
            if (displayPosition_ >= displayEnd_ && renderLoopFlag_)
                WrapDisplay();
        }
    }
    for (; done < frames; ++done) {
        out[2 * done] = out[2 * done + 1] = 0;
        if (renderState_ == RenderState::Draining) {
            if (displayPosition_ < displayEnd_)
                AdvanceDisplay();
            if (displayPosition_ >= displayEnd_)
                renderState_ = RenderState::Finished;
        }
    }

    if (TryLock()) {
        heardPosition_ = std::max(displayPosition_, displayStart_);
        Unlock();
    }
}

} // namespace quorvel
