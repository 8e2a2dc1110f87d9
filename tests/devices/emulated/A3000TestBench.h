#pragma once
// The program's side of an emulated A3000: its Loopback ports (and, for the
// MIDI and SCSI model, its target on the Loopback bus), with requests and
// bulk dumps built byte by byte from Yamaha's description (not with the
// emulator's own codec, so that a misreading on either side shows).
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "SMDITestMaster.h"
#include "devices/emulated/A3000Emulator.h"
#include "devices/emulated/A3000EmulatorStartUp.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"

namespace quorvel::test {

inline Bytes Padded(const std::string& name)
{
    Bytes out(name.begin(), name.end());
    out.resize(16, ' ');
    return out;
}

// F0 43 2n 7A "LM  0278" tt name F7.
inline Bytes YamahaRequest(const std::string& type, const std::string& name, uint8_t device = 0)
{
    Bytes m = {0xF0, 0x43, static_cast<uint8_t>(0x20 | device), 0x7A, 'L', 'M', ' ', ' ', '0', '2', '7', '8'};
    for (char c : type)
        m.push_back(static_cast<uint8_t>(c));
    const Bytes padded = Padded(name);
    m.insert(m.end(), padded.begin(), padded.end());
    m.push_back(0xF7);
    return m;
}

// A bulk dump whose first block carries `first` payload bytes and every
// later one `later` (the sampler's own limit: 2035 and 2048).
inline Bytes YamahaDump(const std::string& type, const std::string& name, const Bytes& payload, size_t first = 2035,
                        size_t later = 2048, uint8_t device = 0)
{
    Bytes m = {0xF0, 0x43, device, 0x7A};
    auto block = [&m](const Bytes& bytes) {
        m.push_back(static_cast<uint8_t>(bytes.size() / 128));
        m.push_back(static_cast<uint8_t>(bytes.size() % 128));
        uint8_t sum = 0;
        for (uint8_t b : bytes) {
            m.push_back(b);
            sum ^= b;
        }
        m.push_back(sum);
    };
    Bytes head = {'L', 'M', ' ', ' ', '0', '2', '7', '8'};
    for (char c : type)
        head.push_back(static_cast<uint8_t>(c));
    const Bytes padded = Padded(name);
    head.insert(head.end(), padded.begin(), padded.end());
    size_t at = 0;
    for (; at < payload.size() && at < first; ++at) {
        head.push_back(payload[at] / 16);
        head.push_back(payload[at] % 16);
    }
    block(head);
    while (at < payload.size()) {
        Bytes body;
        for (size_t i = 0; i < later && at < payload.size(); ++i, ++at) {
            body.push_back(payload[at] / 16);
            body.push_back(payload[at] % 16);
        }
        block(body);
    }
    m.push_back(0xF7);
    return m;
}

// A dump as the program reads it.
struct SReadDump {
    bool framed = false;         // F0 43 0n 7A ... F7 with sound counts
    std::string type;
    std::string name;            // 16 characters
    Bytes payload;
    std::vector<size_t> counts;  // each block's count
    std::vector<size_t> badXor;  // blocks whose checksum byte is wrong
};

inline SReadDump ReadDump(const Bytes& m)
{
    SReadDump dump;
    if (m.size() < 35 || m[0] != 0xF0 || m[1] != 0x43 || m[2] != 0x00 || m[3] != 0x7A || m.back() != 0xF7)
        return dump;
    size_t at = 4;
    for (size_t block = 0; at + 2 < m.size();) {
        const size_t count = m[at] * 128u + m[at + 1];
        if (count % 2 != 0 || count > 4096 || at + 2 + count >= m.size() - 1)
            return dump;
        dump.counts.push_back(count);
        uint8_t sum = 0;
        for (size_t i = at + 2; i < at + 2 + count; ++i)
            sum ^= m[i];
        if (sum != m[at + 2 + count])
            dump.badXor.push_back(block);
        size_t data = at + 2;
        if (block == 0) {
            if (count < 26 || std::string(m.begin() + 6, m.begin() + 14) != "LM  0278")
                return dump;
            dump.type.assign(m.begin() + 14, m.begin() + 16);
            dump.name.assign(m.begin() + 16, m.begin() + 32);
            data = 32;
        }
        for (size_t i = data; i < at + 2 + count; i += 2)
            dump.payload.push_back(static_cast<uint8_t>(m[i] * 16 + m[i + 1]));
        at += 2 + count + 1;
        ++block;
    }
    dump.framed = at == m.size() - 1;
    return dump;
}

// 17 bytes per object: its type and its 16-character name.
inline Bytes ObjectEntry(uint8_t type, const std::string& name)
{
    Bytes entry = {type};
    const Bytes padded = Padded(name);
    entry.insert(entry.end(), padded.begin(), padded.end());
    return entry;
}

// A wave parameter block (73 bytes) with a recognisable pattern, then
// `words` big-endian words.
inline Bytes WavePayload(size_t words, uint32_t seed = 1)
{
    Bytes payload(73);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>(i * 7 + seed);
    const Bytes data = PatternData(2, words + seed);
    payload.insert(payload.end(), data.end() - static_cast<std::ptrdiff_t>(2 * words), data.end());
    return payload;
}

class CA3000TestBench : public CMIDIBenchLink {
public:
    explicit CA3000TestBench(const std::string& id = "6000", const std::string& faults = "",
                             const std::string& folder = {})
    {
        std::ostringstream warnings;
        const SEmulatorSettings settings =
            ParseEmulatorSettings(id.c_str(), folder.empty() ? nullptr : folder.c_str(), faults.c_str(), warnings);
        EXPECT_TRUE(StartA3000Emulator(id, lists_, buses_, settings, clock, 0, warnings, midi_));
        EXPECT_EQ(warnings.str(), "");
        emulator = dynamic_cast<CA3000Emulator*>(midi_.at(0).get());
        const std::string port = id == "6002" ? "Emulated A3000 via MIDI+SCSI" : "Emulated Yamaha A3000 via MIDI";
        Open(port, *emulator);
        bus = LoopbackSCSIBus(buses_);
        device = {bus, 0, 1000};
    }
    ~CA3000TestBench()
    {
        Close();
        midi_.clear();
    }

    // The dump answering a request, read as the program reads it.
    SReadDump Fetch(const std::string& type, const std::string& name)
    {
        return ReadDump(Ask(YamahaRequest(type, name)));
    }
    // Sends a dump and waits until the emulator has dealt with it.
    void Put(const Bytes& dump)
    {
        Send(dump);
        Settle();
    }
    Bytes ObjectList() { return Fetch("OL", "Object List").payload; }

    // SMDI over the target (6002 only).
    SCSIResult ScsiSend(const Bytes& message)
    {
        const uint8_t block[6] = {0x0A, 0, static_cast<uint8_t>(message.size() >> 16),
                                  static_cast<uint8_t>(message.size() >> 8), static_cast<uint8_t>(message.size()), 0};
        return bus->ExecuteOut(device, block, message.size(), message.data());
    }
    Bytes ScsiExchange(const Bytes& message)
    {
        EXPECT_TRUE(ScsiSend(message).Good());
        const uint32_t allocation = 1 << 16;
        const uint8_t block[6] = {0x08, 0, static_cast<uint8_t>(allocation >> 16),
                                  static_cast<uint8_t>(allocation >> 8), 0, 0};
        Bytes buffer(allocation, 0xEE);
        if (!bus->ExecuteIn(device, block, allocation, buffer.data()).Good())
            return {};
        buffer.resize(std::min<size_t>(allocation, 11 + Field(buffer, 8, 3)));
        return buffer;
    }
    // The master-to-sampler procedure; the closing answer.
    Bytes ScsiTransmit(const SHeaderFields& header, const Bytes& data)
    {
        const Bytes ack = ScsiExchange(HeaderMessage(header));
        if (CodeOf(ack) != kTransferAck)
            return ack;
        const uint32_t packet = Field(ack, 14, 3);
        Bytes answer = ScsiExchange(BeginTransfer(header.number, packet));
        for (uint32_t n = 0; CodeOf(answer) == kSendNext; ++n) {
            const size_t offset = static_cast<size_t>(n) * packet;
            const size_t count = std::min<size_t>(packet, data.size() - offset);
            answer = ScsiExchange(DataPacket(n, Bytes(data.begin() + offset, data.begin() + offset + count)));
        }
        return answer;
    }
    // The sampler-to-master procedure; nothing when refused.
    std::optional<Bytes> ScsiReceive(uint32_t number, uint32_t packet, size_t dataBytes)
    {
        if (CodeOf(ScsiExchange(BeginTransfer(number, packet))) != kTransferAck)
            return std::nullopt;
        Bytes data;
        for (uint32_t n = 0; data.size() < dataBytes; ++n) {
            const Bytes answer = ScsiExchange(SendNextPacket(n));
            if (CodeOf(answer) != kData || Field(answer, 11, 3) != n)
                return std::nullopt;
            data.insert(data.end(), answer.begin() + 14, answer.end());
        }
        return data;
    }

    CA3000Emulator* emulator = nullptr;
    CLoopbackSCSIBus* bus = nullptr;
    SCSIDevice device;

private:
    CSCSIBusRegistry buses_;
    std::vector<std::unique_ptr<CABCMIDIEmulator>> midi_;
};

} // namespace quorvel::test
