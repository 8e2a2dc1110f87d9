#pragma once
// A sample dump sampler at the far end of a Loopback port pair: it keeps
// every sample it is sent under the number its header names, and dumps one
// back when asked for that number. It answers on the wire's own thread, as
// a device on a cable would. Written from the standard's description.
#include <map>
#include <mutex>

#include "devices/midi/LoopbackMIDI.h"
#include "../samplers/FakeSDSSampler.h"

namespace quorvel::test {

struct WireDump {
    Bytes header;
    std::vector<Bytes> packets;

    int Number() const { return header[4] | (header[5] << 7); }
    int Format() const { return header[6]; }
    uint32_t Length() const { return header[10] | (header[11] << 7) | (uint32_t(header[12]) << 14); }
    uint32_t Period() const { return header[7] | (header[8] << 7) | (uint32_t(header[9]) << 14); }
    // The significant bits of every word, signed.
    std::vector<int32_t> Words() const
    {
        const int perPacket = 120 / SdsBytesPerWord(Format());
        std::vector<int32_t> words;
        for (const Bytes& packet : packets) {
            const Bytes payload(packet.begin() + 5, packet.begin() + 125);
            const auto part = SdsSignificantWords(payload, Format(), size_t(perPacket));
            words.insert(words.end(), part.begin(), part.end());
        }
        words.resize(Length());
        return words;
    }
};

// A header and packets for `words` (signed, `format` significant bits),
// packed left-justified in 7-bit groups of offset binary.
inline WireDump MakeWireDump(uint8_t channel, int number, int format, uint32_t period,
                             const std::vector<int32_t>& words)
{
    WireDump dump;
    const auto length = static_cast<uint32_t>(words.size());
    const auto three = [](uint32_t v) { return Bytes{uint8_t(v & 0x7F), uint8_t((v >> 7) & 0x7F), uint8_t(v >> 14)}; };
    // Number, format, period, length, loop start and end (both at the end: no loop), loop type off.
    dump.header = {0xF0, 0x7E, channel, 0x01, uint8_t(number & 0x7F), uint8_t(number >> 7), uint8_t(format)};
    for (uint32_t field : {period, length, length, length}) {
        const Bytes part = three(field);
        dump.header.insert(dump.header.end(), part.begin(), part.end());
    }
    dump.header.push_back(0x7F);
    dump.header.push_back(0xF7);
    const int bytes = SdsBytesPerWord(format);
    const int perPacket = 120 / bytes;
    for (size_t first = 0, index = 0; first < words.size(); first += size_t(perPacket), ++index) {
        Bytes packet(127, 0);
        packet[0] = 0xF0;
        packet[1] = 0x7E;
        packet[2] = channel;
        packet[3] = 0x02;
        packet[4] = uint8_t(index & 0x7F);
        for (size_t w = 0; w < size_t(perPacket) && first + w < words.size(); ++w) {
            const uint64_t raw = uint64_t(int64_t(words[first + w]) + (int64_t(1) << (format - 1)));
            const uint64_t justified = raw << (7 * bytes - format);
            for (int b = 0; b < bytes; ++b)
                packet[5 + w * size_t(bytes) + size_t(b)] = uint8_t((justified >> (7 * (bytes - 1 - b))) & 0x7F);
        }
        packet[126] = 0xF7;
        packet[125] = SdsChecksum(packet);
        dump.packets.push_back(packet);
    }
    return dump;
}

class WireSDSDevice {
public:
    WireSDSDevice(const SLoopbackMIDIDevice& ends, uint8_t channel = 0) : ends_(ends), channel_(channel)
    {
        ends_.fromProgram->Attach([this](const uint8_t* data, size_t length) {
            std::lock_guard lock(mutex_);
            for (size_t i = 0; i < length; ++i) {
                if (data[i] == 0xF0)
                    message_.clear();
                message_.push_back(data[i]);
                if (data[i] == 0xF7)
                    OnMessage();
            }
        });
    }
    ~WireSDSDevice() { ends_.fromProgram->Detach(); }

    // The device's memory and what it heard; lock before reading while a
    // transfer may run.
    std::mutex& Mutex() { return mutex_; }
    std::map<int, WireDump> samples;
    std::vector<Bytes> heard;
    bool cancelHeaders = false; // answer every dump header with CANCEL

private:
    void Write(const Bytes& bytes) { ends_.toProgram->Write(bytes.data(), bytes.size()); }

    void OnMessage()
    {
        const Bytes m = message_;
        heard.push_back(m);
        if (m.size() < 6 || m[1] != 0x7E || m[2] != channel_)
            return;
        if (m.size() == 21 && m[3] == 0x01) {
            if (cancelHeaders)
                return Write(SdsHandshake(kCancel, 0, channel_));
            incoming_ = WireDump{m, {}};
            Write(SdsHandshake(kAck, 0, channel_));
        } else if (m.size() == 127 && m[3] == 0x02) {
            if (SdsChecksum(m) != m[125])
                return Write(SdsHandshake(kNak, m[4], channel_));
            incoming_.packets.push_back(m);
            // Stored once every word is in.
            const size_t perPacket = size_t(120 / SdsBytesPerWord(incoming_.Format()));
            if (incoming_.packets.size() * perPacket >= incoming_.Length())
                samples[incoming_.Number()] = incoming_;
            Write(SdsHandshake(kAck, m[4], channel_));
        } else if (m.size() == 7 && m[3] == 0x03) {
            const auto found = samples.find(m[4] | (m[5] << 7));
            if (found == samples.end())
                return; // nothing there: a plain sampler stays silent
            outgoing_ = &found->second;
            next_ = 0;
            Write(outgoing_->header);
        } else if (m.size() == 6 && m[3] == kAck && outgoing_) {
            if (next_ < outgoing_->packets.size())
                Write(outgoing_->packets[next_++]);
        } else if (m.size() == 6 && m[3] == kCancel) {
            outgoing_ = nullptr;
        }
    }

    SLoopbackMIDIDevice ends_;
    uint8_t channel_;
    std::mutex mutex_;
    Bytes message_;
    WireDump incoming_;
    const WireDump* outgoing_ = nullptr;
    size_t next_ = 0;
};

} // namespace quorvel::test
