// What holding a five-minute sound costs in memory: resident set before and
// after building one, as counters (run it under /usr/bin/time -v as well).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "document/WaveSample.h"

namespace {

using namespace quorvel;

// A field of /proc/self/status in kB, or -1.
long StatusKilobytes(const char* field)
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long value = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, length) == 0 && line[length] == ':')
            std::sscanf(line + length + 1, "%ld", &value);
    std::fclose(status);
    return value;
}

void BM_HoldFiveMinuteSound(benchmark::State& state)
{
    const int32_t frames = 300 * 44100;
    long before = 0;
    long after = 0;
    for (auto _ : state) {
        before = StatusKilobytes("VmRSS");
        auto sound = std::make_unique<WAVE_SAMPLE>("five minutes", 44100, frames);
        for (int32_t i = 0; i < frames; i += 64) // touch every page
            sound->Store().WriteSample(static_cast<uint32_t>(i), static_cast<int16_t>(i));
        after = StatusKilobytes("VmRSS");
        benchmark::DoNotOptimize(sound->Store().ReadSample(12345));
    }
    state.counters["store_kB"] = double(frames) * 2 / 1024;
    state.counters["rss_growth_kB"] = double(after - before);
    state.counters["peak_rss_kB"] = double(StatusKilobytes("VmHWM"));
}
BENCHMARK(BM_HoldFiveMinuteSound)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
