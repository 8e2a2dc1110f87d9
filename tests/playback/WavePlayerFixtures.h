#pragma once
// A player whose commands are taken by rendering on the calling thread, so
// that tests drive Render directly and see every output frame.
#include <memory>
#include <vector>

#include "document/WaveSample.h"
#include "playback/WavePlayer.h"

namespace quorvel::test {

class CDirectPlayer : public CWavePlayer {
protected:
    void WaitForRenderer() override { Render(nullptr, 0); }
};

class CCountingNotifier : public CWavePlayerNotifier {
public:
    void PlaybackStopped() override { ++stopped; }
    void PlaybackStarted() override { ++started; }
    int stopped = 0;
    int started = 0;
};

// Renders `frames` output frames in blocks of `block` and returns the left
// channel; a frame whose two sides differ fails the test.
inline std::vector<int16_t> RenderMono(CWavePlayer& player, int32_t frames, int32_t block = 256)
{
    std::vector<int16_t> stereo(size_t(frames) * 2, 0x5555);
    for (int32_t done = 0; done < frames; done += block)
        player.Render(stereo.data() + 2 * done, std::min(block, frames - done));
    std::vector<int16_t> mono(size_t(frames), 0);
    for (int32_t i = 0; i < frames; ++i) {
        EXPECT_EQ(stereo[2 * size_t(i)], stereo[2 * size_t(i) + 1]) << "frame " << i;
        mono[size_t(i)] = stereo[2 * size_t(i)];
    }
    return mono;
}

// A sound whose value at frame i is 1 + i % 30000, so that every frame is
// recognisable and never silent.
inline std::unique_ptr<WAVE_SAMPLE> CountingSound(int32_t frames, int32_t rate = 44100)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("Count", rate, frames);
    for (int32_t i = 0; i < frames; ++i)
        sound->Store().WriteSample(uint32_t(i), int16_t(1 + i % 30000));
    return sound;
}

} // namespace quorvel::test
