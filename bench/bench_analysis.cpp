// Onset analysis of a five-minute sound against a plain pass over the same
// store, and the threshold sweep the sensitivity slider triggers.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "document/SliceList.h"
#include "loopgen/DrumLoopGenerator.h"

namespace {

using namespace quorvel;

constexpr int32_t kFiveMinutes = 300 * 44100; // 13,230,000 frames

// 90 BPM keeps the onsets (about 900) below the 997 at which the scan stops,
// so the whole sound is examined.
const WAVE_SAMPLE& FiveMinuteSound()
{
    static const std::unique_ptr<WAVE_SAMPLE> sound = [] {
        loopgen::LoopSpec recipe;
        recipe.bpm = 90.0;
        recipe.lengthFrames = kFiveMinutes;
        return loopgen::MakeWaveSample(loopgen::GenerateDrumLoop(recipe), "five minutes");
    }();
    return *sound;
}

void BM_AnalyseFiveMinutes(benchmark::State& state)
{
    const WAVE_SAMPLE& sound = FiveMinuteSound();
    auto list = std::make_unique<CSliceList>();
    for (auto _ : state) {
        list->Analyse(sound);
        benchmark::DoNotOptimize(list->At(0).position);
    }
    state.counters["slices"] = list->Count();
    state.counters["frames/s"] =
        benchmark::Counter(double(sound.Length()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AnalyseFiveMinutes)->Unit(benchmark::kMillisecond);

// The worst case: five minutes of noise that never falls quiet, so no stretch
// of the sound can be passed over.
void BM_AnalyseFiveMinutesOfNoise(benchmark::State& state)
{
    static const std::unique_ptr<WAVE_SAMPLE> noise = [] {
        auto sound = std::make_unique<WAVE_SAMPLE>("noise", 44100, kFiveMinutes);
        uint32_t seed = 1;
        for (int32_t i = 0; i < kFiveMinutes; ++i) {
            seed = seed * 1664525u + 1013904223u;
            sound->Store().WriteSample(static_cast<uint32_t>(i), static_cast<int16_t>((seed >> 16) % 6001) - 3000);
        }
        return sound;
    }();
    auto list = std::make_unique<CSliceList>();
    for (auto _ : state) {
        list->Analyse(*noise);
        benchmark::DoNotOptimize(list->Count());
    }
}
BENCHMARK(BM_AnalyseFiveMinutesOfNoise)->Unit(benchmark::kMillisecond);

// The floor under any whole-sound pass: read every value once, page by page.
void BM_SumStorePages(benchmark::State& state)
{
    const WAVE_SAMPLE& sound = FiveMinuteSound();
    const BAT& store = sound.Store();
    const auto length = static_cast<uint32_t>(sound.Length());
    for (auto _ : state) {
        int64_t sum = 0;
        for (uint32_t base = 0; base < length; base += BAT::kPageValues) {
            const int16_t* page = store.Page(base / BAT::kPageValues);
            const uint32_t n = length - base < BAT::kPageValues ? length - base : BAT::kPageValues;
            for (uint32_t j = 0; j < n; ++j)
                sum += page[j];
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["frames/s"] =
        benchmark::Counter(double(length) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SumStorePages)->Unit(benchmark::kMillisecond);

// A full table, swept back and forth so that flags flip on every pass.
void BM_ApplyThreshold1000(benchmark::State& state)
{
    auto list = std::make_unique<CSliceList>();
    uint32_t x = 12345;
    for (int i = 0; i < CSliceList::kCapacity; ++i) {
        x = x * 1664525u + 1013904223u;
        list->InsertSlice(i * 100)->strength = static_cast<int16_t>(1 + (x >> 17) % 32767);
    }
    int16_t threshold = 8000;
    for (auto _ : state) {
        list->ApplyThreshold(threshold);
        threshold = static_cast<int16_t>(threshold == 8000 ? 24000 : 8000);
        benchmark::DoNotOptimize(list->At(999).aboveThreshold);
    }
}
BENCHMARK(BM_ApplyThreshold1000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
