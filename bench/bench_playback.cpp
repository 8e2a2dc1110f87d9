// What the wave player's render routine costs per output frame, next to the
// least any renderer must do with the same frames: read them from the store
// and write them to both sides of the output.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "document/WaveSample.h"
#include "playback/JackStereoOutput.h"
#include "playback/WavePlayer.h"

namespace {

using namespace quorvel;

constexpr int32_t kBlock = 512;          // one service-thread top-up
constexpr int32_t kSoundFrames = 441000; // ten seconds at 44.1 kHz

// Takes its own commands, so no channel thread is needed.
class CBenchPlayer : public CWavePlayer {
protected:
    void WaitForRenderer() override { Render(nullptr, 0); }
};

std::unique_ptr<WAVE_SAMPLE> MakeSound(int32_t rate)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("Bench", rate, kSoundFrames);
    for (int32_t i = 0; i < kSoundFrames; ++i)
        sound->Store().WriteSample(uint32_t(i), int16_t(int64_t(i) * 7919 % 60001 - 30000));
    return sound;
}

void BM_Render(benchmark::State& state)
{
    auto sound = MakeSound(int32_t(state.range(0)));
    CBenchPlayer player;
    player.SetLatencyMilliseconds(50);
    player.PlayLoop(*sound, 0, nullptr);
    std::vector<int16_t> out(2 * kBlock);
    for (auto _ : state) {
        player.Render(out.data(), kBlock);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
    player.Stop();
}
BENCHMARK(BM_Render)->Arg(44100)->Arg(22050)->Arg(48000);

void BM_PlainCopy(benchmark::State& state)
{
    auto sound = MakeSound(44100);
    const BAT& store = sound->Store();
    std::vector<int16_t> out(2 * kBlock);
    uint32_t position = 0;
    for (auto _ : state) {
        for (int32_t i = 0; i < kBlock; ++i) {
            const int16_t v = store.ReadSample(position);
            out[2 * size_t(i)] = out[2 * size_t(i) + 1] = v;
            if (++position == uint32_t(kSoundFrames))
                position = 0;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_PlainCopy);

// The JACK channel's work in its process cycles for one second of audio at a
// 256-frame period: the player renders, the output turns the frames into the
// server's floats (converting the rate when the server is not at 44100 Hz).
// The time per iteration is the CPU that one second of playback costs.
void BM_JackSecondOfAudio(benchmark::State& state)
{
    constexpr uint32_t kPeriod = 256;
    const auto serverRate = uint32_t(state.range(0));
    auto sound = MakeSound(44100);
    CBenchPlayer player;
    player.SetLatencyMilliseconds(50);
    player.PlayLoop(*sound, 0, nullptr);
    CJackStereoOutput output(serverRate, player);
    std::vector<float> left(kPeriod), right(kPeriod);
    const uint32_t periods = (serverRate + kPeriod - 1) / kPeriod;
    for (auto _ : state) {
        for (uint32_t i = 0; i < periods; ++i)
            output.Process(left.data(), right.data(), kPeriod);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * periods * kPeriod);
    player.Stop();
}
BENCHMARK(BM_JackSecondOfAudio)->Arg(44100)->Arg(48000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
