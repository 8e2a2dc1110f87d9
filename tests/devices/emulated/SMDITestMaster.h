#pragma once
// The master's side of an emulated SMDI sampler on a Loopback bus: SEND and
// RECEIVE command blocks and SMDI messages built byte by byte from the
// standard's text (not with the emulator's own codec, so that a misreading
// on either side shows as a difference), and a clock moved by hand.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "SDSTestBench.h"
#include "devices/emulated/SMDIEmulator.h"
#include "devices/scsi/LoopbackSCSI.h"

namespace quorvel::test {

inline void Append(Bytes& out, uint32_t value, int width)
{
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

inline Bytes Message(uint16_t id, uint16_t sub, const Bytes& data = {})
{
    Bytes m = {'S', 'M', 'D', 'I'};
    Append(m, id, 2);
    Append(m, sub, 2);
    Append(m, static_cast<uint32_t>(data.size()), 3);
    m.insert(m.end(), data.begin(), data.end());
    return m;
}

inline Bytes Number(uint32_t value, int width = 3)
{
    Bytes out;
    Append(out, value, width);
    return out;
}

inline Bytes Join(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct SHeaderFields {
    uint32_t number = 5;
    uint8_t bits = 16;
    uint8_t channels = 1;
    uint32_t period = 22675; // 44100 Hz
    uint32_t length = 0;
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;
    uint8_t loopControl = 0x7F;
    uint16_t pitch = 60;
    uint16_t fraction = 0;
    std::string name = "Kick";
    Bytes extra;
};

// Sample Header: number(3) bits(1) channels(1) period(3) length(4) loop
// start(4) loop end(4) loop control(1) pitch(2) fraction(2) name length(1)
// name, then whatever the length field also counts.
inline Bytes HeaderMessage(const SHeaderFields& h)
{
    Bytes d = Number(h.number);
    d.push_back(h.bits);
    d.push_back(h.channels);
    Append(d, h.period, 3);
    Append(d, h.length, 4);
    Append(d, h.loopStart, 4);
    Append(d, h.loopEnd, 4);
    d.push_back(h.loopControl);
    Append(d, h.pitch, 2);
    Append(d, h.fraction, 2);
    d.push_back(static_cast<uint8_t>(h.name.size()));
    d.insert(d.end(), h.name.begin(), h.name.end());
    d.insert(d.end(), h.extra.begin(), h.extra.end());
    return Message(0x0121, 0x0000, d);
}

inline Bytes BeginTransfer(uint32_t number, uint32_t packetBytes)
{
    return Message(0x0122, 0x0000, Join(Number(number), Number(packetBytes)));
}
inline Bytes SendNextPacket(uint32_t n) { return Message(0x0103, 0x0000, Number(n)); }
inline Bytes DataPacket(uint32_t n, const Bytes& data) { return Message(0x0110, 0x0000, Join(Number(n), data)); }
inline Bytes HeaderRequest(uint32_t number) { return Message(0x0120, 0x0000, Number(number)); }
inline Bytes DeleteSample(uint32_t number) { return Message(0x0124, 0x0000, Number(number)); }
inline Bytes AbortProcedure() { return Message(0x0105, 0x0000); }

// The answers, as a test reads them.
inline uint32_t CodeOf(const Bytes& m) { return m.size() < 8 ? 0 : (m[4] << 24 | m[5] << 16 | m[6] << 8 | m[7]); }
constexpr uint32_t kReject = 0x00020000;
constexpr uint32_t kWait = 0x01020000;
constexpr uint32_t kSendNext = 0x01030000;
constexpr uint32_t kEndOfProcedure = 0x01040000;
constexpr uint32_t kAbort = 0x01050000;
constexpr uint32_t kData = 0x01100000;
constexpr uint32_t kHeader = 0x01210000;
constexpr uint32_t kTransferAck = 0x01220001;

inline uint32_t Field(const Bytes& m, size_t offset, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = value << 8 | m.at(offset + static_cast<size_t>(i));
    return value;
}
// Message Reject's code and sub code as one number: 0x00200002.
inline uint32_t RejectOf(const Bytes& m)
{
    return CodeOf(m) == kReject && m.size() == 15 ? Field(m, 11, 4) : 0xFFFFFFFF;
}

class CSMDIMaster {
public:
    explicit CSMDIMaster(const std::string& model = "smdi", const std::string& faults = "",
                         const std::string& folder = {})
    {
        std::ostringstream warnings;
        const SEmulatorSettings settings = ParseEmulatorSettings(model.c_str(), nullptr, faults.c_str(), warnings);
        EXPECT_EQ(warnings.str(), "");
        emulator = std::make_shared<CSMDIEmulator>(*FindSMDIEmulatorModel(model), clock, settings.faults, folder);
        device = {&bus, bus.AddTarget(emulator), 1000};
    }

    SCSIResult Send(const Bytes& message)
    {
        const uint8_t block[6] = {0x0A, 0, static_cast<uint8_t>(message.size() >> 16),
                                  static_cast<uint8_t>(message.size() >> 8), static_cast<uint8_t>(message.size()), 0};
        return bus.ExecuteOut(device, block, message.size(), message.data());
    }

    // The answer, cut to its header's length when the tag is there.
    Bytes Receive(uint32_t allocation = 1 << 20, SCSIResult* result = nullptr)
    {
        const uint8_t block[6] = {0x08, 0, static_cast<uint8_t>(allocation >> 16),
                                  static_cast<uint8_t>(allocation >> 8), static_cast<uint8_t>(allocation), 0};
        Bytes buffer(allocation, 0xEE);
        const SCSIResult got = bus.ExecuteIn(device, block, allocation, buffer.data());
        if (result)
            *result = got;
        if (!got.Good())
            return {};
        if (allocation >= 11)
            buffer.resize(std::min<size_t>(allocation, 11 + Field(buffer, 8, 3)));
        return buffer;
    }

    Bytes Exchange(const Bytes& message)
    {
        const SCSIResult sent = Send(message);
        EXPECT_TRUE(sent.Good()) << "SEND answered kind " << sent.kind;
        return Receive();
    }

    SCSIResult TestUnitReady()
    {
        const uint8_t block[6] = {0x00, 0, 0, 0, 0, 0};
        return bus.ExecuteNoData(device, block);
    }

    Bytes Inquiry(uint8_t allocation = 36)
    {
        const uint8_t block[6] = {0x12, 0, 0, 0, allocation, 0};
        Bytes answer(allocation, 0xEE);
        EXPECT_TRUE(bus.ExecuteIn(device, block, allocation, answer.data()).Good());
        return answer;
    }

    // Sends a whole sample as the standard's master-to-slave procedure goes,
    // in packets of the length the sampler acknowledges; the closing answer.
    Bytes Transmit(const SHeaderFields& header, const Bytes& data)
    {
        const Bytes ack = Exchange(HeaderMessage(header));
        if (CodeOf(ack) != kTransferAck)
            return ack;
        EXPECT_EQ(Field(ack, 11, 3), header.number);
        const uint32_t packet = Field(ack, 14, 3);
        Bytes answer = Exchange(BeginTransfer(header.number, packet));
        for (uint32_t n = 0; CodeOf(answer) == kSendNext; ++n) {
            EXPECT_EQ(Field(answer, 11, 3), n);
            const size_t offset = static_cast<size_t>(n) * packet;
            const size_t count = std::min<size_t>(packet, data.size() - offset);
            answer = Exchange(DataPacket(n, Bytes(data.begin() + offset, data.begin() + offset + count)));
        }
        return answer;
    }

    // The standard's slave-to-master procedure in packets of `packet` bytes;
    // the data, or nothing when the sampler refuses.
    std::optional<Bytes> ReceiveSample(uint32_t number, uint32_t packet, uint64_t dataBytes)
    {
        const Bytes ack = Exchange(BeginTransfer(number, packet));
        if (CodeOf(ack) != kTransferAck)
            return std::nullopt;
        const uint32_t accepted = Field(ack, 14, 3);
        Bytes data;
        for (uint32_t n = 0; data.size() < dataBytes; ++n) {
            const Bytes answer = Exchange(SendNextPacket(n));
            if (CodeOf(answer) != kData || Field(answer, 11, 3) != n)
                return std::nullopt;
            EXPECT_EQ(answer.size() - 14, std::min<uint64_t>(accepted, dataBytes - data.size()));
            data.insert(data.end(), answer.begin() + 14, answer.end());
        }
        return data;
    }

    ManualEmulatorClock clock;
    CLoopbackSCSIBus bus;
    std::shared_ptr<CSMDIEmulator> emulator;
    SCSIDevice device;
};

// Big-endian words of a ramp that touches every bit of the word.
inline Bytes PatternData(uint32_t wordBytes, size_t words)
{
    Bytes data;
    uint32_t value = 0x9E3779B9;
    for (size_t w = 0; w < words; ++w) {
        value = value * 1664525u + 1013904223u;
        for (uint32_t b = 0; b < wordBytes; ++b)
            data.push_back(static_cast<uint8_t>(value >> (8 * b)));
    }
    return data;
}

} // namespace quorvel::test
