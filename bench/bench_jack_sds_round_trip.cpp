// The round trip of one sample dump data packet and its ACK over JACK MIDI,
// between this process (the program's JACK driver) and
// quorvel-sampler-emulator --model sds in another: the time from handing the
// 127-byte packet to the output until the ACK is taken out of the input, as
// the sample dump transmitter sees it. Prints the median and the 99th
// percentile. Run it through tools/bench-jack-midi.sh, which starts a dummy
// server and the emulator.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIPortRegistration.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/RawSysex.h"
#include "devices/midi/SysexMIDIInput.h"

namespace {

using namespace quorvel;
using Clock = std::chrono::steady_clock;

constexpr int kSamplesPerPacket = 40; // 16-bit words, three bytes each

void Put21(std::vector<uint8_t>& message, uint32_t value)
{
    for (int i = 0; i < 3; ++i)
        message.push_back(static_cast<uint8_t>((value >> (7 * i)) & 0x7F));
}

std::vector<uint8_t> DumpHeader(uint32_t words)
{
    std::vector<uint8_t> header = {0xF0, 0x7E, 0x00, 0x01, 0x64, 0x00, 16};
    Put21(header, 1'000'000'000 / 44100); // sample period in ns
    Put21(header, words);
    Put21(header, 0);
    Put21(header, words - 1);
    header.push_back(0x7F); // no loop
    header.push_back(0xF7);
    return header;
}

std::vector<uint8_t> DataPacket(int number)
{
    std::vector<uint8_t> packet = {0xF0, 0x7E, 0x00, 0x02, static_cast<uint8_t>(number & 0x7F)};
    for (int i = 0; i < kSamplesPerPacket; ++i) {
        const uint16_t word = static_cast<uint16_t>((number * 997 + i * 131) * 17);
        packet.push_back(static_cast<uint8_t>(word >> 9));
        packet.push_back(static_cast<uint8_t>((word >> 2) & 0x7F));
        packet.push_back(static_cast<uint8_t>((word << 5) & 0x60));
    }
    uint8_t checksum = 0;
    for (size_t i = 1; i < packet.size(); ++i)
        checksum ^= packet[i];
    packet.push_back(checksum & 0x7F);
    packet.push_back(0xF7);
    return packet;
}

// Waits up to a second for the ACK of `number`; false when it does not come.
bool WaitForAck(CSysexMIDIInput& input, int number)
{
    const auto until = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < until) {
        while (std::unique_ptr<CRawSysex> message = input.NextSysex()) {
            const uint8_t* data = message->GetData();
            if (message->GetLength() == 6 && data[1] == 0x7E && data[3] == 0x7F)
                return data[4] == (number & 0x7F);
        }
        ServiceAllMIDIInputs();
    }
    return false;
}

double Microseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::micro>(duration).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int packets = argc > 1 ? std::atoi(argv[1]) : 500;
    if (packets <= 0) {
        std::fprintf(stderr, "usage: bench_jack_sds_round_trip [PACKETS]\n");
        return 1;
    }
    const CMIDIPortLists ports = RegisterMIDIPorts();
    const CRegisteredMIDIInput* in = ports.FindInput("Emulated SDS:out");
    const CRegisteredMIDIOutput* out = ports.FindOutput("Emulated SDS:in");
    if (!in || !out) {
        std::fprintf(stderr, "no JACK ports of quorvel-sampler-emulator --model sds\n");
        return 1;
    }
    CSysexMIDIInput parser;
    const std::unique_ptr<CMIDIInput> input = in->Open(parser);
    const std::unique_ptr<CMIDIOutput> output = out->Open();

    const std::vector<uint8_t> header = DumpHeader(static_cast<uint32_t>(packets * kSamplesPerPacket));
    output->SendBytes(header.data(), static_cast<int32_t>(header.size()));
    if (!WaitForAck(parser, 0)) {
        std::fprintf(stderr, "the emulator did not answer the dump header\n");
        return 1;
    }
    std::vector<double> times;
    for (int number = 0; number < packets; ++number) {
        const std::vector<uint8_t> packet = DataPacket(number);
        const auto start = Clock::now();
        output->SendBytes(packet.data(), static_cast<int32_t>(packet.size()));
        if (!WaitForAck(parser, number)) {
            std::fprintf(stderr, "no ACK for packet %d\n", number);
            return 1;
        }
        times.push_back(Microseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double fraction) { return times[static_cast<size_t>(fraction * (times.size() - 1) + 0.5)]; };
    std::printf("packets %d  median %.0f us  p99 %.0f us  min %.0f us  max %.0f us\n", packets, at(0.5), at(0.99),
                times.front(), times.back());
    return 0;
}
