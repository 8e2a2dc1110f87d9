#pragma once
// The program's side of a Loopback port pair to an emulated AKAI sampler,
// with a clock moved by hand, and the sampler's exclusive messages built
// byte by byte from the published message layouts (independently of the
// emulator's own code, so that a misreading shows as a difference).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SDSTestBench.h"
#include "devices/emulated/AKAIEmulator.h"

namespace quorvel::test {

// F0 47 cc op 48 ... F7 with channel 0.
inline Bytes AKAIMessage(uint8_t op, const Bytes& body)
{
    Bytes m(body.size() + 6);
    m[0] = 0xF0;
    m[1] = 0x47;
    m[2] = 0x00;
    m[3] = op;
    m[4] = 0x48;
    std::copy(body.begin(), body.end(), m.begin() + 5);
    m.back() = 0xF7;
    return m;
}

// A 14-bit number as two 7-bit bytes, least significant first.
inline Bytes Number14(uint32_t n) { return {uint8_t(n % 128), uint8_t(n / 128 % 128)}; }

inline Bytes Numbered(uint8_t op, uint32_t number) { return AKAIMessage(op, Number14(number)); }

// Each data byte as two bytes: low nibble, then high nibble.
inline Bytes Nibbled(const Bytes& data)
{
    Bytes out;
    for (uint8_t byte : data) {
        out.push_back(byte % 16);
        out.push_back(byte / 16);
    }
    return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A data message of the older models: number, [keygroup], 150 nibbled bytes.
inline Bytes OldData(uint8_t op, uint32_t number, const Bytes& block, int keygroup = -1)
{
    Bytes body = Number14(number);
    if (keygroup >= 0)
        body.push_back(static_cast<uint8_t>(keygroup));
    return AKAIMessage(op, Concat({body, Nibbled(block)}));
}

// A data message of the later models: number, keygroup or 0, offset, count,
// the bytes nibbled.
inline Bytes NewData(uint8_t op, uint32_t number, const Bytes& bytes, uint32_t offset = 0, uint8_t keygroup = 0)
{
    return AKAIMessage(op, Concat({Number14(number), {keygroup}, Number14(offset),
                                   Number14(static_cast<uint32_t>(bytes.size())), Nibbled(bytes)}));
}

// The sampler's codes of a name: 0-9, space, A-Z, # + - . ; padded with spaces.
inline Bytes NameCodes(const std::string& name)
{
    const std::string alphabet = "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ#+-.";
    Bytes codes;
    for (size_t i = 0; i < 12; ++i)
        codes.push_back(static_cast<uint8_t>(i < name.size() ? alphabet.find(name[i]) : 10));
    return codes;
}

inline void PutLE(Bytes& block, size_t at, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        block[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

// A sample header block: id 3, root 60, the name, valid, the length, play
// end, the rate (bytes 138-139 in both sizes, after the spare bytes and the
// stereo partner's address), and every other byte a recognisable filler so
// that a lost byte shows.
inline Bytes SampleBlock(size_t size, const std::string& name, uint32_t length, uint32_t rate)
{
    Bytes block(size);
    for (size_t i = 0; i < size; ++i)
        block[i] = static_cast<uint8_t>((i * 37 + 11) & 0xFF);
    block[0] = 3;
    block[1] = 1;
    block[2] = 60;
    const Bytes codes = NameCodes(name);
    std::copy(codes.begin(), codes.end(), block.begin() + 3);
    block[15] = 0x80;
    block[16] = 0;
    PutLE(block, 26, length, 4);
    PutLE(block, 30, 0, 4);
    PutLE(block, 34, length - 1, 4);
    PutLE(block, 138, rate, 2);
    return block;
}

// A program header block: id 1, the name, `keygroups` at byte 42.
inline Bytes ProgramBlock(size_t size, const std::string& name, uint8_t keygroups)
{
    Bytes block(size);
    for (size_t i = 0; i < size; ++i)
        block[i] = static_cast<uint8_t>((i * 53 + 7) & 0xFF);
    block[0] = 1;
    const Bytes codes = NameCodes(name);
    std::copy(codes.begin(), codes.end(), block.begin() + 3);
    block[42] = keygroups;
    return block;
}

// A keygroup block: id 2, the key span, the first zone's sample name at 34.
inline Bytes KeygroupBlock(size_t size, uint8_t low, uint8_t high, const std::string& sample)
{
    Bytes block(size);
    for (size_t i = 0; i < size; ++i)
        block[i] = static_cast<uint8_t>((i * 29 + low) & 0xFF);
    block[0] = 2;
    block[3] = low;
    block[4] = high;
    const Bytes codes = NameCodes(sample);
    std::copy(codes.begin(), codes.end(), block.begin() + 34);
    return block;
}

inline Bytes Reply(uint8_t result) { return AKAIMessage(0x16, {result}); }

class AKAITestBench : public CMIDIBenchLink {
public:
    explicit AKAITestBench(const std::string& id, const std::vector<SEmulatorFault>& faults = {},
                           const std::string& folder = {})
        : model_(*FindAKAIEmulatorModel(id))
    {
        const std::string port = CAKAIEmulator::PortName(model_);
        ends_ = AddLoopbackMIDIPorts(lists_, port, 0);
        emulator = std::make_unique<CAKAIEmulator>(model_, ends_, clock, faults, folder);
        Open(port, *emulator);
    }
    ~AKAITestBench()
    {
        Close();
        emulator.reset();
    }

    size_t Block() const { return model_.BlockBytes(); }
    bool Old() const { return model_.olderGeneration; }


    Bytes HeaderData(uint32_t number, const Bytes& block)
    {
        return Old() ? OldData(0x0B, number, block) : NewData(0x0B, number, block);
    }
    // A new sample's header, its reply, then its data by a dump header and
    // packets, closed loop; returns the handshakes the dump got.
    std::vector<Bytes> SendSample(uint32_t number, const Bytes& block, const std::vector<uint32_t>& words)
    {
        EXPECT_EQ(Ask(HeaderData(number, block)), AKAIMessage(0x16, {0}));
        return SendDump(number, words);
    }
    // The same with the packets right after the reply, no dump header.
    std::vector<Bytes> SendSamplePackets(uint32_t number, const Bytes& block, const std::vector<uint32_t>& words)
    {
        EXPECT_EQ(Ask(HeaderData(number, block)), AKAIMessage(0x16, {0}));
        std::vector<Bytes> answers;
        for (const Bytes& packet : DumpPackets(16, words))
            answers.push_back(Ask(packet));
        return answers;
    }
    std::vector<Bytes> SendDump(uint32_t number, const std::vector<uint32_t>& words, uint32_t period = 22676)
    {
        return DumpClosedLoop(*this, HeaderMessage(number, 16, period, static_cast<uint32_t>(words.size()), 0, 0, 0x7F),
                              DumpPackets(16, words));
    }
    // Receives a dump closed loop after `request`: the header, then the words.
    std::vector<uint32_t> ReceiveDump(const Bytes& request, Bytes* header = nullptr)
    {
        return ReceiveDump16(*this, request, header);
    }
    // The name list answer for `op` (04 samples, 02 programs), as names.
    std::vector<Bytes> Names(uint8_t op)
    {
        const Bytes list = Ask(AKAIMessage(op, {}));
        std::vector<Bytes> names;
        if (list.size() < 8 || list[3] != op + 1) {
            ADD_FAILURE() << "no name list";
            return names;
        }
        const size_t count = list[5] | list[6] << 7;
        EXPECT_EQ(list.size(), 8 + 12 * count);
        for (size_t i = 0; i < count && 7 + 12 * (i + 1) < list.size(); ++i)
            names.emplace_back(list.begin() + 7 + 12 * i, list.begin() + 7 + 12 * (i + 1));
        return names;
    }

    std::unique_ptr<CAKAIEmulator> emulator;

private:
    SAKAIEmulatorModel model_;
    SLoopbackMIDIDevice ends_;
};

} // namespace quorvel::test
