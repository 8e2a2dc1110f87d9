// One second of 16-bit mono (44100 frames from a generated drum loop) sent
// with the sample dump to the emulated sampler through Loopback ports.
// Paced at MIDI's 31250 baud it reports the time taken against the cable's
// time for the bytes that crossed both ways (ten bits a byte); unpaced it
// reports frames per second, the program's and the emulator's own cost.
#include <benchmark/benchmark.h>

#include <chrono>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "devices/emulated/EmulatedSamplers.h"
#include "devices/emulated/SDSEmulator.h"
#include "devices/midi/LoopbackMIDI.h"
#include "devices/midi/SysexMIDIInput.h"
#include "loopgen/DrumLoopGenerator.h"
#include "samplers/SampleTransfer.h"
#include "samplers/sds/SDSTransmitter.h"

namespace {

using namespace quorvel;

constexpr uint32_t kFrames = 44100;

class NoProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

const std::vector<int16_t>& OneSecond()
{
    static const std::vector<int16_t> slice = [] {
        loopgen::LoopSpec recipe;
        recipe.hiss = 40;
        const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(recipe);
        const auto first = loop.samples.begin() + loop.hits.at(0).frame;
        if (loop.samples.end() - first < kFrames)
            throw std::runtime_error("the generated loop is shorter than a second");
        return std::vector<int16_t>(first, first + kFrames);
    }();
    return slice;
}

void BM_SDSTransmitOneSecond(benchmark::State& state)
{
    const uint32_t baud = static_cast<uint32_t>(state.range(0));
    CMIDIPortLists lists;
    std::ostringstream warnings;
    CSteadyEmulatorClock clock;
    const CEmulatedSamplers emulated(lists, ParseEmulatorSettings("sds", "", "", warnings), clock, baud, warnings);
    if (!warnings.str().empty()) {
        state.SkipWithError(warnings.str().c_str());
        return;
    }
    const CABCMIDIEmulator& emulator = *emulated.MIDIEmulators().front();
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input = lists.FindInput(CSDSEmulator::kPortName)->Open(parser);
    std::unique_ptr<CMIDIOutput> output = lists.FindOutput(CSDSEmulator::kPortName)->Open();
    const std::vector<int16_t>& slice = OneSecond();
    SampleInfo info;
    info.channelCount = 1;
    info.bits = 16;
    info.rate = 44100;
    info.length = kFrames;
    NoProgress progress;

    const uint64_t bytesBefore = emulator.BytesTaken() + emulator.BytesSent();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        CSDSTransmitter transmitter(*output, parser, 0, 1, 5000);
        TransmitSample(transmitter, info, 0, slice, progress);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const uint64_t bytes = emulator.BytesTaken() + emulator.BytesSent() - bytesBefore;

    state.SetItemsProcessed(int64_t(state.iterations()) * kFrames);
    state.counters["bytes_per_dump"] = double(bytes) / double(state.iterations());
    if (baud) {
        const double wire = double(bytes) * 10.0 / baud;
        state.counters["seconds"] = seconds;
        state.counters["wire_seconds"] = wire;
        state.counters["ratio_to_wire"] = seconds / wire;
    }
}

BENCHMARK(BM_SDSTransmitOneSecond)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SDSTransmitOneSecond)->Arg(31250)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
