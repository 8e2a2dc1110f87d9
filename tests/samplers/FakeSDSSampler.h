#pragma once
// A scripted sample-dump peer for the transmitter and receiver tests: it
// reads what the program sends on a RecordingOutput and answers through a
// ScriptedInput a millisecond later, as a sampler on the cable would. Its
// packing and checksum are written here from the standard's description, not
// taken from the program's code. Faults are set per packet number.
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "../devices/MIDITestDoubles.h"

namespace quorvel::test {

inline Bytes SdsHandshake(uint8_t type, uint8_t packet, uint8_t channel = 0)
{
    return {0xF0, 0x7E, channel, type, packet, 0xF7};
}
constexpr uint8_t kAck = 0x7F, kNak = 0x7E, kCancel = 0x7D, kWait = 0x7C;

// The standard's checksum: XOR of every byte from 7E to the last data byte.
inline uint8_t SdsChecksum(const Bytes& packet)
{
    uint8_t sum = 0;
    for (size_t i = 1; i + 2 < packet.size(); ++i)
        sum ^= packet[i];
    return sum & 0x7F;
}

// Bytes a word of `format` bits takes: 7 bits each.
inline int SdsBytesPerWord(int format) { return (format + 6) / 7; }

// The `format` significant bits of each word, as signed numbers, read from
// left-justified 7-bit groups in offset binary.
inline std::vector<int32_t> SdsSignificantWords(const Bytes& payload, int format, size_t words)
{
    const int bytes = SdsBytesPerWord(format);
    std::vector<int32_t> out;
    for (size_t w = 0; w < words; ++w) {
        uint64_t bits = 0;
        for (int b = 0; b < bytes; ++b)
            bits = (bits << 7) | payload[w * bytes + b];
        const uint64_t raw = bits >> (7 * bytes - format);
        out.push_back(static_cast<int32_t>(int64_t(raw) - (int64_t(1) << (format - 1))));
    }
    return out;
}

class FakeSDSSampler {
public:
    FakeSDSSampler(FakeClock& clock, ScriptedInput& input, RecordingOutput& output, uint8_t channel = 0)
        : clock_(clock), input_(input), channel_(channel)
    {
        output.onPiece = [this](const Bytes& message) { OnMessage(message); };
    }

    // --- what the sampler does with a dump sent to it
    std::optional<uint8_t> headerAnswer = kAck; // nothing when empty
    std::map<uint8_t, int> nakTimes;            // packet number -> NAKs before the ACK
    std::map<uint8_t, uint8_t> ackNumberFor;    // packet number -> number its ACK names
    std::map<uint8_t, uint32_t> waitBefore;     // packet number -> ms of WAIT before its ACK
    std::optional<uint32_t> cancelAtPacket;     // index of the packet answered with CANCEL
    std::optional<uint32_t> silentAtPacket;     // index of the packet never answered
    std::map<uint32_t, Bytes> answerInstead;    // packet index -> the answer it gets

    // --- what it received
    std::vector<Bytes> messages;  // everything, in order
    Bytes header;
    std::vector<Bytes> packets;   // every data packet as it came, resends too
    std::vector<Bytes> payloads;  // the accepted packets' 120 data bytes, in order
    int cancels = 0;

    // --- what it dumps when asked
    Bytes dumpHeader;                  // a 21-byte header
    std::vector<Bytes> dumpPayloads;   // 120 bytes each
    std::map<uint32_t, int> corruptTimes;    // packet index -> times it goes out damaged
    std::map<uint32_t, uint8_t> misnumber;   // packet index -> wrong number it carries (once)
    std::optional<uint32_t> dumpCancelAt;    // packet index replaced by CANCEL
    std::optional<uint32_t> dumpSilentAt;    // packet index never sent
    bool answerRequest = true;
    std::vector<Bytes> acks, naks;

    // The dump just received, replayed: header and payloads.
    void ReplayReceived()
    {
        dumpHeader = header;
        dumpPayloads = payloads;
    }

    Bytes Packet(uint32_t index, bool damaged) const
    {
        Bytes packet(127, 0);
        packet[0] = 0xF0;
        packet[1] = 0x7E;
        packet[2] = channel_;
        packet[3] = 0x02;
        packet[4] = static_cast<uint8_t>(index & 0x7F);
        std::copy(dumpPayloads[index].begin(), dumpPayloads[index].end(), packet.begin() + 5);
        packet[126] = 0xF7;
        packet[125] = SdsChecksum(packet);
        if (damaged)
            packet[10] ^= 0x01;
        return packet;
    }

private:
    void Answer(const Bytes& bytes, uint64_t delay = 1) { input_.At(clock_.now + delay, bytes); }

    void OnMessage(const Bytes& message)
    {
        messages.push_back(message);
        if (message.size() < 5 || message[1] != 0x7E || message[2] != channel_)
            return;
        const uint8_t type = message[3];
        if (type == 0x01 && message.size() == 21) {
            header = message;
            payloads.clear();
            if (headerAnswer)
                Answer(SdsHandshake(*headerAnswer, 0, channel_));
        } else if (type == 0x02 && message.size() == 127) {
            OnPacket(message);
        } else if (type == 0x03 && message.size() == 7) {
            OnRequest();
        } else if (message.size() == 6 && type == kCancel) {
            ++cancels;
        } else if (message.size() == 6 && type == kAck) {
            acks.push_back(message);
            OnAck();
        } else if (message.size() == 6 && type == kNak) {
            naks.push_back(message);
            OnNak(message[4]);
        }
    }

    void OnPacket(const Bytes& packet)
    {
        const uint32_t index = static_cast<uint32_t>(packets.size());
        packets.push_back(packet);
        const uint8_t number = packet[4];
        if (cancelAtPacket && *cancelAtPacket == index)
            return Answer(SdsHandshake(kCancel, number, channel_));
        if (silentAtPacket && *silentAtPacket == index)
            return;
        if (auto instead = answerInstead.find(index); instead != answerInstead.end())
            return Answer(instead->second);
        if (SdsChecksum(packet) != packet[125])
            return Answer(SdsHandshake(kNak, number, channel_));
        auto nak = nakTimes.find(number);
        if (nak != nakTimes.end() && nak->second > 0) {
            --nak->second;
            return Answer(SdsHandshake(kNak, number, channel_));
        }
        payloads.emplace_back(packet.begin() + 5, packet.begin() + 125);
        uint64_t delay = 1;
        auto wait = waitBefore.find(number);
        if (wait != waitBefore.end()) {
            Answer(SdsHandshake(kWait, number, channel_));
            delay = wait->second;
            waitBefore.erase(wait);
        }
        auto renumber = ackNumberFor.find(number);
        Answer(SdsHandshake(kAck, renumber != ackNumberFor.end() ? renumber->second : number, channel_), delay);
    }

    void OnRequest()
    {
        if (!answerRequest)
            return;
        sentPackets_ = 0;
        awaitingHeaderAck_ = true;
        Answer(dumpHeader);
    }

    void SendPacket(uint32_t index)
    {
        if (index >= dumpPayloads.size())
            return;
        if (dumpCancelAt && *dumpCancelAt == index)
            return Answer(SdsHandshake(kCancel, static_cast<uint8_t>(index & 0x7F), channel_));
        if (dumpSilentAt && *dumpSilentAt == index)
            return;
        bool damaged = false;
        auto corrupt = corruptTimes.find(index);
        if (corrupt != corruptTimes.end() && corrupt->second > 0) {
            --corrupt->second;
            damaged = true;
        }
        Bytes packet = Packet(index, damaged);
        auto wrong = misnumber.find(index);
        if (wrong != misnumber.end()) {
            packet[4] = wrong->second;
            packet[125] = SdsChecksum(packet);
            misnumber.erase(wrong);
        }
        Answer(packet);
    }

    void OnAck()
    {
        if (awaitingHeaderAck_) {
            awaitingHeaderAck_ = false;
            sentPackets_ = 1;
            return SendPacket(0);
        }
        SendPacket(sentPackets_++);
    }

    void OnNak(uint8_t) { SendPacket(sentPackets_ - 1); }

    FakeClock& clock_;
    ScriptedInput& input_;
    uint8_t channel_;
    uint32_t sentPackets_ = 0;
    bool awaitingHeaderAck_ = false;
};

} // namespace quorvel::test
