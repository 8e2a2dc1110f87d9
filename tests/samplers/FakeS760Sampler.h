#pragma once
// A scripted S-760 for the interface tests, written from the sampler's
// published exclusive messages rather than from the program's code: it
// keeps sample parameter blocks, answers the file list and the access
// address, takes part in both handshakes, and takes the words of a new
// sample as a sample dump (through FakeSDSSampler), which gives the sample
// its memory.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "FakeSDSSampler.h"

namespace quorvel::test {

// Brings the sum of the bytes to 0 modulo 128.
inline uint8_t RolandChecksum(const uint8_t* begin, const uint8_t* end)
{
    unsigned sum = 0;
    for (const uint8_t* p = begin; p != end; ++p)
        sum += *p;
    return static_cast<uint8_t>((128 - sum % 128) % 128);
}

inline Bytes Address7(uint32_t value)
{
    return {static_cast<uint8_t>(value >> 21 & 0x7F), static_cast<uint8_t>(value >> 14 & 0x7F),
            static_cast<uint8_t>(value >> 7 & 0x7F), static_cast<uint8_t>(value & 0x7F)};
}

inline uint32_t Address7At(const Bytes& m, size_t at)
{
    return uint32_t(m[at]) << 21 | uint32_t(m[at + 1]) << 14 | uint32_t(m[at + 2]) << 7 | m[at + 3];
}

// F0 41 dev 34 command, then address, data (or size), checksum, F7.
inline Bytes RolandMessage(uint8_t command, uint32_t address, const Bytes& body, uint8_t device = 0)
{
    Bytes m{0xF0, 0x41, device, 0x34, command};
    const Bytes a = Address7(address);
    m.insert(m.end(), a.begin(), a.end());
    m.insert(m.end(), body.begin(), body.end());
    m.push_back(RolandChecksum(m.data() + 5, m.data() + m.size()));
    m.push_back(0xF7);
    return m;
}

inline Bytes RolandBare(uint8_t command, uint8_t device = 0) { return {0xF0, 0x41, device, 0x34, command, 0xF7}; }

constexpr uint32_t kFakeListAddress = 0x200018;
constexpr uint32_t kFakeAccessAddress = 0x200008;

// The 48 bytes of a block from the 96 on the wire, high nibble first.
inline Bytes Denibble(const Bytes& wire)
{
    Bytes out(wire.size() / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<uint8_t>((wire[2 * i] & 0x0F) << 4 | (wire[2 * i + 1] & 0x0F));
    return out;
}

inline Bytes Nibble(const Bytes& bytes)
{
    Bytes out;
    for (uint8_t b : bytes) {
        out.push_back(b >> 4);
        out.push_back(b & 0x0F);
    }
    return out;
}

class FakeS760Sampler {
public:
    struct Entry {
        uint8_t category;
        uint16_t number;
        std::string name; // 16 characters
    };

    FakeS760Sampler(FakeClock& clock, ScriptedInput& input, RecordingOutput& output, uint8_t device = 0)
        : clock_(clock), input_(input), device_(device), dump_(clock, input, output, device)
    {
        forward_ = output.onPiece;
        output.onPiece = [this](const Bytes& message) { OnMessage(message); };
    }

    // Block bytes (48) by sample number; a sample is listed while it has one.
    std::map<uint16_t, Bytes> blocks;
    std::vector<Entry> others; // patches and partials
    std::vector<Bytes> received; // every Roland message, in order
    Bytes accessWritten;
    // The next answer the sampler would send goes out as this instead.
    std::optional<Bytes> replaceNextAnswer;
    // A block written by handshake, by address (wire bytes).
    std::map<uint32_t, Bytes> written;
    // Patches from 0x10000 (512 wire bytes each) and partials from 0x20000
    // (256), wire bytes by address; listed while their name is not unused.
    std::map<uint32_t, Bytes> memory;
    uint32_t nextFreeFrame = 0;

    FakeSDSSampler& Dump() { return dump_; }

    static Bytes NamedBlock(const std::string& name, uint16_t blocks = 1, uint8_t rateIndex = 1)
    {
        Bytes b(48, 0);
        for (size_t i = 0; i < 16; ++i)
            b[i] = i < name.size() ? static_cast<uint8_t>(name[i]) : ' ';
        b[42] = static_cast<uint8_t>(blocks);
        b[43] = static_cast<uint8_t>(blocks >> 8);
        b[44] = rateIndex;
        b[45] = 60;
        return b;
    }

private:
    void Answer(Bytes bytes)
    {
        if (replaceNextAnswer) {
            bytes = *replaceNextAnswer;
            replaceNextAnswer.reset();
        }
        input_.At(clock_.now + 1, bytes);
    }
    void Queue(const Bytes& bytes) { pending_.push_back(bytes); }

    void OnMessage(const Bytes& m)
    {
        if (m.size() >= 6 && m[1] == 0x41 && m[2] == device_ && m[3] == 0x34)
            return OnRoland(m);
        if (m.size() == 21 && m[1] == 0x7E && m[3] == 0x01)
            OnDumpHeader(m);
        if (forward_)
            forward_(m);
    }

    void OnDumpHeader(const Bytes& h)
    {
        const uint16_t number = static_cast<uint16_t>(h[4] | h[5] << 7);
        const uint32_t length = h[10] | h[11] << 7 | uint32_t(h[12]) << 14;
        const uint32_t blockCount = (length + 4607) / 4608;
        Bytes b = NamedBlock("", static_cast<uint16_t>(blockCount), 1);
        const uint32_t start = nextFreeFrame * 256 + 2048;
        for (int i = 0; i < 4; ++i)
            b[16 + i] = static_cast<uint8_t>(start >> (8 * i));
        nextFreeFrame += blockCount * 4608;
        blocks[number] = b;
    }

    void OnRoland(const Bytes& m)
    {
        received.push_back(m);
        const uint8_t command = m[4];
        if (command == 0x43) { // acknowledge: the next piece of a read
            if (!pending_.empty()) {
                Answer(pending_.front());
                pending_.pop_front();
            }
            return;
        }
        const uint32_t address = Address7At(m, 5);
        if (command == 0x12) {
            const Bytes data(m.begin() + 9, m.end() - 2);
            if (address == kFakeListAddress)
                return AnswerList(data[0]);
            if (address == kFakeAccessAddress) {
                accessWritten = data;
                return Answer(RolandMessage(0x12, kFakeAccessAddress, {0, 1}, device_));
            }
            return;
        }
        const uint32_t size = Address7At(m, 9);
        if (command == 0x41) { // request data: one data message, then the end
            const Bytes wire = BlockAt(address, size);
            for (size_t at = 0; at < wire.size(); at += 256)
                Queue(RolandMessage(0x42, address + static_cast<uint32_t>(at),
                                    Bytes(wire.begin() + at, wire.begin() + std::min(wire.size(), at + 256)),
                                    device_));
            Queue(RolandMessage(0x45, address, Address7(size), device_));
            Answer(pending_.front());
            pending_.pop_front();
            return;
        }
        if (command == 0x40) {
            incoming_.clear();
            incomingAddress_ = address;
            return Answer(RolandBare(0x43, device_));
        }
        if (command == 0x42) {
            incoming_.insert(incoming_.end(), m.begin() + 9, m.end() - 2);
            return Answer(RolandBare(0x43, device_));
        }
        if (command == 0x45) {
            written[incomingAddress_] = incoming_;
            Store(incomingAddress_, incoming_);
            return Answer(RolandBare(0x43, device_));
        }
    }

    static bool IsSampleBlock(uint32_t address) { return address >= 2048 * 96 && (address - 2048 * 96) % 96 == 0; }

    Bytes BlockAt(uint32_t address, uint32_t size) const
    {
        if (const auto found = memory.find(address); found != memory.end())
            return found->second;
        if (IsSampleBlock(address)) {
            const auto found = blocks.find(static_cast<uint16_t>(address / 96 - 2048));
            if (found != blocks.end())
                return Nibble(found->second);
        }
        return Bytes(size, 0);
    }

    void Store(uint32_t address, const Bytes& wire)
    {
        if (address >= 0x10000 && address < 0x30000) {
            memory[address] = wire;
            return;
        }
        if (!IsSampleBlock(address) || wire.size() != 96)
            return;
        const auto number = static_cast<uint16_t>(address / 96 - 2048);
        const Bytes block = Denibble(wire);
        if (std::all_of(block.begin(), block.begin() + 16, [](uint8_t c) { return c == 0x7F; }))
            blocks.erase(number); // the unused mark
        else
            blocks[number] = block;
    }

    void AnswerList(uint8_t category)
    {
        std::vector<Entry> entries;
        for (const auto& [number, block] : blocks)
            entries.push_back({5, number, std::string(block.begin(), block.begin() + 16)});
        for (const Entry& entry : others)
            entries.push_back(entry);
        for (const auto& [address, wire] : memory) {
            const Bytes name = Denibble(Bytes(wire.begin(), wire.begin() + 32));
            if (name[0] == 0x7F)
                continue;
            const bool patch = address < 0x20000;
            entries.push_back({static_cast<uint8_t>(patch ? 3 : 4),
                               static_cast<uint16_t>(patch ? (address - 0x10000) / 512 : (address - 0x20000) / 256),
                               std::string(name.begin(), name.end())});
        }
        Bytes data;
        std::vector<Bytes> messages;
        for (const Entry& entry : entries) {
            if (entry.category != category)
                continue;
            data.push_back(entry.category);
            data.push_back(entry.number >> 8 & 0x0F);
            data.push_back(entry.number >> 4 & 0x0F);
            data.push_back(entry.number & 0x0F);
            data.insert(data.end(), entry.name.begin(), entry.name.end());
            if (data.size() == 320) {
                messages.push_back(data);
                data.clear();
            }
        }
        data.resize(data.size() + 20, 0); // the entry of category 0 ends the list
        messages.push_back(data);
        for (const Bytes& message : messages)
            Answer(RolandMessage(0x12, kFakeListAddress, message, device_));
    }

    FakeClock& clock_;
    ScriptedInput& input_;
    uint8_t device_;
    FakeSDSSampler dump_;
    std::function<void(const Bytes&)> forward_;
    std::deque<Bytes> pending_;
    Bytes incoming_;
    uint32_t incomingAddress_ = 0;
};

} // namespace quorvel::test
