// What a packet-and-answer exchange costs through a Loopback port pair: a
// 127-byte message answered with 6 bytes, the shape of every packet of a
// sample dump. Unpaced it measures the program's own overhead; paced at
// MIDI's 31250 baud it reports the time taken against the cable's time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "devices/midi/LoopbackMIDI.h"
#include "devices/midi/SysexConnection.h"
#include "devices/midi/SysexMIDIInput.h"

namespace {

using namespace quorvel;

constexpr size_t kPacket = 127;
constexpr size_t kAnswer = 6;

void BM_LoopbackExchange(benchmark::State& state)
{
    const uint32_t baud = static_cast<uint32_t>(state.range(0));
    CMIDIPortLists lists;
    const SLoopbackMIDIDevice device = AddLoopbackMIDIPorts(lists, "Bench", baud);
    device.fromProgram->Attach([&device](const uint8_t* data, size_t length) {
        if (data[length - 1] == 0xF7) {
            const uint8_t answer[kAnswer] = {0xF0, 0x7E, 0x00, 0x7F, 0x00, 0xF7};
            device.toProgram->Write(answer, kAnswer);
        }
    });
    CSysexMIDIInput parser;
    auto input = lists.inputs[0]->Open(parser);
    auto output = lists.outputs[0]->Open();
    CSysexConnection link(parser, *output, 0x7E, 0x00);
    std::vector<uint8_t> bytes(kPacket, 0x10);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    const CRawSysex packet(bytes);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(link.Transact(packet, 1000, 1));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetItemsProcessed(state.iterations());
    if (baud) {
        const double wire = double(state.iterations()) * (kPacket + kAnswer) * 10.0 / baud;
        state.counters["ratio_to_wire"] = seconds / wire;
    }
    device.fromProgram->Detach();
}

BENCHMARK(BM_LoopbackExchange)->Arg(0)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoopbackExchange)->Arg(31250)->Iterations(50)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
