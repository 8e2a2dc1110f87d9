#pragma once
// The program's side of a Loopback port pair to an emulated Sample Dump
// Standard sampler, with a clock moved by hand, and dump messages built
// byte by byte from the standard's text (independently of the emulator's
// own packing, so that a misreading shows as a difference).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "MIDIBenchLink.h"
#include "devices/emulated/SDSEmulator.h"

namespace quorvel::test {

// Dump header: F0 7E cc 01 ss ss ee ff ff ff gg gg gg hh hh hh ii ii ii jj F7,
// numbers least significant 7 bits first.
inline Bytes HeaderMessage(uint32_t sample, uint32_t format, uint32_t period, uint32_t length, uint32_t loopStart,
                           uint32_t loopEnd, uint8_t loopType, uint8_t device = 0)
{
    Bytes m = {0xF0, 0x7E, device, 0x01};
    auto seven = [&m](uint32_t value, int count) {
        for (int i = 0; i < count; ++i, value >>= 7)
            m.push_back(static_cast<uint8_t>(value % 128));
    };
    seven(sample, 2);
    m.push_back(static_cast<uint8_t>(format));
    seven(period, 3);
    seven(length, 3);
    seven(loopStart, 3);
    seven(loopEnd, 3);
    m.push_back(loopType);
    m.push_back(0xF7);
    return m;
}

// The data bytes of a dump: each word left-justified in as few 7-bit bytes
// as hold it, most significant first, the bits below it zero.
inline Bytes DataBytes(uint32_t format, const std::vector<uint32_t>& words)
{
    const uint32_t bytesPerWord = format <= 14 ? 2 : format <= 21 ? 3 : 4;
    Bytes out;
    for (uint32_t word : words) {
        // The word as a string of bits, then padded with zeros to whole bytes.
        std::vector<int> bits;
        for (int b = static_cast<int>(format) - 1; b >= 0; --b)
            bits.push_back((word >> b) & 1);
        while (bits.size() < bytesPerWord * 7)
            bits.push_back(0);
        for (uint32_t i = 0; i < bytesPerWord; ++i) {
            uint8_t byte = 0;
            for (int b = 0; b < 7; ++b)
                byte = static_cast<uint8_t>(byte * 2 + bits[i * 7 + b]);
            out.push_back(byte);
        }
    }
    return out;
}

// Data packet: F0 7E cc 02 kk <120 bytes> mm F7, mm the exclusive-or of
// 7E, cc, 02, kk and the 120 bytes.
inline Bytes PacketMessage(uint8_t number, const Bytes& data120, uint8_t device = 0)
{
    Bytes m(127, 0);
    m[0] = 0xF0;
    m[1] = 0x7E;
    m[2] = device;
    m[3] = 0x02;
    m[4] = number;
    for (size_t i = 0; i < data120.size() && i < 120; ++i)
        m[5 + i] = data120[i];
    uint8_t sum = 0;
    for (size_t i = 1; i < 125; ++i)
        sum = static_cast<uint8_t>(sum ^ m[i]);
    m[125] = sum & 0x7F;
    m[126] = 0xF7;
    return m;
}

// Every packet of a dump of `words`, numbered from 0 and wrapping after 7F.
inline std::vector<Bytes> DumpPackets(uint32_t format, const std::vector<uint32_t>& words)
{
    const Bytes data = DataBytes(format, words);
    const size_t bytesPerWord = format <= 14 ? 2 : format <= 21 ? 3 : 4;
    const size_t perPacket = (120 / bytesPerWord) * bytesPerWord;
    std::vector<Bytes> packets;
    for (size_t at = 0, n = 0; at < data.size(); at += perPacket, ++n) {
        const Bytes piece(data.begin() + static_cast<std::ptrdiff_t>(at),
                          data.begin() + static_cast<std::ptrdiff_t>(std::min(data.size(), at + perPacket)));
        packets.push_back(PacketMessage(static_cast<uint8_t>(n % 128), piece));
    }
    return packets;
}

inline Bytes Handshake(uint8_t type, uint8_t number) { return {0xF0, 0x7E, 0x00, type, number, 0xF7}; }
inline Bytes Ack(uint8_t n) { return Handshake(0x7F, n); }
inline Bytes Nak(uint8_t n) { return Handshake(0x7E, n); }
inline Bytes Cancel(uint8_t n) { return Handshake(0x7D, n); }
inline Bytes Wait(uint8_t n) { return Handshake(0x7C, n); }
inline Bytes Request(uint32_t sample) { return {0xF0, 0x7E, 0x00, 0x03, uint8_t(sample % 128), uint8_t(sample / 128), 0xF7}; }

// Words spread over the whole range of the format, extremes included.
inline std::vector<uint32_t> TestWords(uint32_t format, size_t count, uint32_t seed = 1)
{
    const uint32_t mask = (1u << format) - 1;
    std::vector<uint32_t> words(count);
    uint32_t x = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < count; ++i) {
        x = x * 1664525u + 1013904223u;
        words[i] = (x ^ (x >> 13)) & mask;
    }
    if (count > 2) {
        words[0] = 0;
        words[1] = mask;
        words[2] = 1u << (format - 1);
    }
    return words;
}

// Sends a header and every packet, answering as a closed-loop sender
// would; returns the handshakes the emulator gave, one per message.
inline std::vector<Bytes> DumpClosedLoop(CMIDIBenchLink& link, const Bytes& header, const std::vector<Bytes>& packets)
{
    std::vector<Bytes> answers;
    answers.push_back(link.Ask(header));
    for (const Bytes& packet : packets)
        answers.push_back(link.Ask(packet));
    return answers;
}

// 16-bit words from a dump's data bytes: three bytes per word, the word's
// top 7 bits, the next 7, then the last 2 at the top of the third byte.
inline std::vector<uint32_t> Decode16(const Bytes& packet, size_t count)
{
    std::vector<uint32_t> words;
    for (size_t w = 0; w < count; ++w) {
        const uint8_t* b = packet.data() + 5 + 3 * w;
        words.push_back((uint32_t(b[0]) << 9) | (uint32_t(b[1]) << 2) | (b[2] >> 5));
    }
    return words;
}

// Receives the 16-bit dump `request` brings, closed loop: the header, then
// the words.
inline std::vector<uint32_t> ReceiveDump16(CMIDIBenchLink& link, const Bytes& request, Bytes* header = nullptr)
{
    const Bytes first = link.Ask(request);
    if (header)
        *header = first;
    if (first.size() != 21 || first[1] != 0x7E || first[3] != 0x01) {
        ADD_FAILURE() << "no dump header";
        return {};
    }
    const uint32_t length = first[10] | first[11] << 7 | first[12] << 14;
    std::vector<uint32_t> words;
    link.Send(Ack(0));
    for (uint32_t n = 0; words.size() < length; ++n) {
        const Bytes packet = link.Next();
        if (packet.size() != 127 || packet[4] != n % 128)
            return words;
        const std::vector<uint32_t> part = Decode16(packet, std::min<size_t>(40, length - words.size()));
        words.insert(words.end(), part.begin(), part.end());
        link.Send(Ack(static_cast<uint8_t>(n % 128)));
    }
    return words;
}

class SDSTestBench : public CMIDIBenchLink {
public:
    explicit SDSTestBench(const std::vector<SEmulatorFault>& faults = {}, const std::string& folder = {},
                          uint32_t baud = 0)
    {
        ends_ = AddLoopbackMIDIPorts(lists_, CSDSEmulator::kPortName, baud);
        emulator = std::make_unique<CSDSEmulator>(ends_, clock, faults, folder);
        Open(CSDSEmulator::kPortName, *emulator);
    }
    ~SDSTestBench()
    {
        Close();
        emulator.reset();
    }

    // The words kept under `number`; none when nothing is kept.
    std::vector<uint32_t> StoredWords(uint16_t number)
    {
        const std::optional<SSDSSample> sample = emulator->Samples().Find(number);
        return sample ? sample->words : std::vector<uint32_t>{};
    }
    // Hand time on, then wait for what it brings.
    void AdvanceClock(uint64_t ms) { clock.Advance(ms); }

    std::vector<Bytes> DumpClosedLoop(const Bytes& header, const std::vector<Bytes>& packets)
    {
        return quorvel::test::DumpClosedLoop(*this, header, packets);
    }

    std::unique_ptr<CSDSEmulator> emulator;

private:
    SLoopbackMIDIDevice ends_;
};

} // namespace quorvel::test
