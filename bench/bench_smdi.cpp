// A five-minute 16-bit mono loop (44100 Hz, assembled from a generated drum
// loop) sent with SMDI to the emulated SMDI sampler on the Loopback bus, and
// received back. Each reports frames per second and its time against a
// plain copy of the same frames made in the same run: what the protocol
// (packets, big-endian words, the bus, the sampler's own copy) costs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "devices/emulated/SMDIEmulator.h"
#include "devices/emulated/SMDIEmulatorModel.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "loopgen/DrumLoopGenerator.h"
#include "samplers/SampleTransfer.h"
#include "samplers/smdi/SMDISamplerInterface.h"

namespace {

using namespace quorvel;

constexpr uint32_t kRate = 44100;
constexpr uint32_t kFrames = kRate * 300;

class NoProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

const std::vector<int16_t>& FiveMinutes()
{
    static const std::vector<int16_t> frames = [] {
        const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(loopgen::LoopSpec{});
        std::vector<int16_t> all;
        all.reserve(kFrames);
        while (all.size() < kFrames)
            all.insert(all.end(), loop.samples.begin(),
                       loop.samples.begin() + std::min<std::ptrdiff_t>(loop.samples.size(), kFrames - all.size()));
        return all;
    }();
    return frames;
}

SampleInfo LoopInfo()
{
    SampleInfo info;
    info.SetName("FIVE MINUTES");
    info.channelCount = 1;
    info.bits = 16;
    info.rate = kRate;
    info.length = info.playEnd = kFrames;
    info.rootKey = 60;
    return info;
}

// Seconds of the fastest of a few plain copies of the frames into a buffer
// written before: the quickest a copy goes, so the ratio errs against the
// protocol.
double CopySeconds(const std::vector<int16_t>& frames)
{
    std::vector<int16_t> target(frames.size());
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(target.data(), frames.data(), frames.size() * sizeof(int16_t));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

struct Sampler {
    CSteadyEmulatorClock clock;
    CLoopbackSCSIBus bus;
    std::shared_ptr<CSMDIEmulator> emulator =
        std::make_shared<CSMDIEmulator>(*FindSMDIEmulatorModel("smdi"), clock, std::vector<SEmulatorFault>{});
    SCSIDevice device{&bus, bus.AddTarget(emulator), 10000};
    CSMDISamplerInterface smdi{device};
    NoProgress progress;
};

void Report(benchmark::State& state, double seconds, double copySeconds)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * kFrames);
    state.counters["copy_ms"] = copySeconds * 1000;
    state.counters["ratio_to_copy"] = seconds / double(state.iterations()) / copySeconds;
}

void BM_SMDITransmitFiveMinutes(benchmark::State& state)
{
    const std::vector<int16_t>& frames = FiveMinutes();
    Sampler sampler;
    const SampleInfo info = LoopInfo();
    const double copySeconds = CopySeconds(frames);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        TransmitSample(*sampler.smdi.CreateTransmitter(1), info, 0, std::span<const int16_t>(frames), sampler.progress);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    Report(state, seconds, copySeconds);
}

void BM_SMDIReceiveFiveMinutes(benchmark::State& state)
{
    const std::vector<int16_t>& frames = FiveMinutes();
    Sampler sampler;
    TransmitSample(*sampler.smdi.CreateTransmitter(1), LoopInfo(), 0, std::span<const int16_t>(frames),
                   sampler.progress);
    const double copySeconds = CopySeconds(frames);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const SReceivedSample back = ReceiveSample(*sampler.smdi.CreateReceiver(1), kWantedFramesPerPacket, sampler.progress);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (back.narrow != frames)
            state.SkipWithError("the loop did not come back bit-exactly");
    }
    Report(state, seconds, copySeconds);
}

BENCHMARK(BM_SMDITransmitFiveMinutes)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SMDIReceiveFiveMinutes)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
