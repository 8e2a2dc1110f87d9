// Building every output of a five-minute loop for an export (stretch 100%,
// 44.1 kHz to 48 kHz) against a plain copy of the same number of frames into
// fresh samples. Peak memory: run under /usr/bin/time -v with
// --benchmark_filter=BM_ExportAllOutputs (and BM_PlainCopy for the baseline).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <memory>

#include "analysis/SliceSet.h"
#include "document/SliceList.h"
#include "loopgen/DrumLoopGenerator.h"

namespace {

using namespace quorvel;

constexpr int32_t kFiveMinutes = 300 * 44100; // 13,230,000 frames
constexpr int32_t kFullStretch = 2000;
constexpr int32_t kOutputRate = 48000;

struct Loop {
    std::unique_ptr<WAVE_SAMPLE> sound;
    CSliceList slices;
};

// 20 BPM: 25 bars of the default eight-hit pattern, so 200 onsets, every
// one of them Active at the lowest threshold.
Loop& FiveMinuteLoop()
{
    static const std::unique_ptr<Loop> loop = [] {
        auto l = std::make_unique<Loop>();
        loopgen::LoopSpec recipe;
        recipe.bpm = 20.0;
        recipe.lengthFrames = kFiveMinutes;
        l->sound = loopgen::MakeWaveSample(loopgen::GenerateDrumLoop(recipe), "five minutes");
        l->slices.Analyse(*l->sound);
        l->slices.ApplyThreshold(0);
        return l;
    }();
    return *loop;
}

// Memory figures of this process from /proc (0 where unavailable).
double StatusMegabytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(field.size())) / 1024.0;
    return 0;
}

// Lets VmHWM show the peak of what follows rather than of the set-up, whose
// generated loop briefly exists twice.
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

CSliceSet MakeSet(const Loop& loop)
{
    CSliceSet set(*loop.sound, loop.slices, 0, loop.sound->Length(), kFullStretch, false, false, true);
    set.SetOutputRate(kOutputRate);
    return set;
}

// One fresh sample per output, filled with as many frames of the sound from
// the slice's own position (held inside the sound).
double CopySeconds(Loop& loop, const CSliceSet& set)
{
    const auto begin = std::chrono::steady_clock::now();
    for (int k = 0; k < set.OutputCount(); ++k) {
        const SliceOutputInfo info = set.GetOutputInfo(k);
        const int32_t frames = info.length;
        const int32_t from = std::min(info.start, loop.sound->Length() - frames);
        WAVE_SAMPLE copy("copy", kOutputRate, frames);
        loop.sound->Store().CopyToStore(uint32_t(from) * 2, uint32_t(frames) * 2, copy.Store(), 0);
        benchmark::DoNotOptimize(copy.Value(frames - 1));
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

void BM_ExportAllOutputs(benchmark::State& state)
{
    Loop& loop = FiveMinuteLoop();
    const CSliceSet set = MakeSet(loop);
    const double residentBefore = StatusMegabytes("VmRSS:");
    ResetPeakResident();
    double exportSeconds = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        for (int k = 0; k < set.OutputCount(); ++k) {
            const std::unique_ptr<WAVE_SAMPLE> out = set.GetOutput(k);
            benchmark::DoNotOptimize(out->Value(out->Length() / 2));
        }
        exportSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }
    state.counters["RSS before MB"] = residentBefore;
    state.counters["peak RSS MB"] = StatusMegabytes("VmHWM:");
    // The copy is timed in this same run (best of three) for the ratio.
    double copy = CopySeconds(loop, set);
    for (int i = 0; i < 2; ++i)
        copy = std::min(copy, CopySeconds(loop, set));
    const double frames = set.TotalLength();
    const double perExport = exportSeconds / double(state.iterations());
    state.counters["active slices"] = set.OutputCount();
    state.counters["output frames"] = frames;
    state.counters["frames/s"] = frames / perExport;
    state.counters["copy frames/s"] = frames / copy;
    state.counters["x copy time"] = perExport / copy;
}
BENCHMARK(BM_ExportAllOutputs)->Unit(benchmark::kMillisecond);

void BM_PlainCopy(benchmark::State& state)
{
    Loop& loop = FiveMinuteLoop();
    const CSliceSet set = MakeSet(loop);
    for (auto _ : state)
        benchmark::DoNotOptimize(CopySeconds(loop, set));
    state.counters["frames/s"] =
        benchmark::Counter(double(set.TotalLength()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
