#pragma once
// The program's side of a Loopback port pair to the emulated S-760, with a
// clock moved by hand, and the Roland messages built byte by byte from the
// published message layouts (independently of the emulator's own encoding,
// so that a misreading shows as a difference).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SDSTestBench.h"
#include "devices/emulated/S760Emulator.h"

namespace quorvel::test {

// Four 7-bit groups, most significant first.
inline Bytes Seven4(uint32_t value)
{
    return {uint8_t(value / 2097152 % 128), uint8_t(value / 16384 % 128), uint8_t(value / 128 % 128),
            uint8_t(value % 128)};
}

// F0 41 00 34 command, the covered bytes, the checksum making their sum a
// multiple of 128 (only when there are covered bytes), F7.
inline Bytes RolandMessage(uint8_t command, const Bytes& covered)
{
    Bytes m = {0xF0, 0x41, 0x00, 0x34, command};
    int sum = 0;
    for (uint8_t byte : covered) {
        m.push_back(byte);
        sum += byte;
    }
    if (!covered.empty())
        m.push_back(uint8_t((128 - sum % 128) % 128));
    m.push_back(0xF7);
    return m;
}

inline Bytes Join(const Bytes& a, const Bytes& b)
{
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

inline Bytes DataSet(uint32_t address, const Bytes& data) { return RolandMessage(0x12, Join(Seven4(address), data)); }
inline Bytes DataMessage(uint32_t address, const Bytes& data)
{
    return RolandMessage(0x42, Join(Seven4(address), data));
}
inline Bytes AddressSize(uint8_t command, uint32_t address, uint32_t size)
{
    return RolandMessage(command, Join(Seven4(address), Seven4(size)));
}
inline Bytes RolandAck() { return RolandMessage(0x43, {}); }
inline Bytes RolandError() { return RolandMessage(0x4E, {}); }
inline Bytes RolandReject() { return RolandMessage(0x4F, {}); }

// Each byte as its high nibble, then its low nibble.
inline Bytes HighLow(const Bytes& bytes)
{
    Bytes out;
    for (uint8_t byte : bytes) {
        out.push_back(byte / 16);
        out.push_back(byte % 16);
    }
    return out;
}

inline uint32_t SampleParamsAddress(uint32_t n) { return (n + 2048) * 96; }
inline uint32_t PatchAddress(uint32_t n) { return (n + 128) * 512; }
inline uint32_t PartialAddress(uint32_t n) { return (n + 512) * 256; }
constexpr uint32_t kFileList = 0x200018;

inline Bytes Name16(const std::string& name)
{
    Bytes out(16, ' ');
    for (size_t i = 0; i < name.size() && i < 16; ++i)
        out[i] = static_cast<uint8_t>(name[i]);
    return out;
}

// A sample parameter block (48 bytes before the nibble split): name, five
// addresses (frame × 256 + 2048 in bank 0), loop mode, bank 0, blocks, rate
// index, root key, and recognisable further settings.
inline Bytes SampleParams(const std::string& name, uint32_t frames, uint8_t rateIndex, uint8_t loopMode = 0,
                          uint32_t loopStart = 0)
{
    Bytes p(48, 0);
    const Bytes name16 = Name16(name);
    std::copy(name16.begin(), name16.end(), p.begin());
    auto le = [&p](size_t at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            p[at + size_t(i)] = uint8_t(value >> (8 * i));
    };
    const uint32_t last = frames - 1;
    le(16, 2048, 4);
    le(20, loopStart * 256 + 2048, 4);
    le(24, last * 256 + 2048, 4);
    le(28, loopStart * 256 + 2048, 4);
    le(32, last * 256 + 2048, 4);
    p[36] = loopMode;
    p[37] = 0x11;
    p[38] = 0x22;
    p[39] = 0x33;
    le(42, (frames + 4607) / 4608, 2);
    p[44] = rateIndex;
    p[45] = 60;
    p[46] = 0x44;
    p[47] = 0x55;
    return p;
}

struct SListEntry {
    uint8_t category;
    uint32_t number;
    Bytes name;
    bool operator==(const SListEntry&) const = default;
};

class S760TestBench {
public:
    explicit S760TestBench(const std::vector<SEmulatorFault>& faults = {}, const std::string& folder = {})
    {
        ends_ = AddLoopbackMIDIPorts(lists_, CS760Emulator::kPortName, 0);
        emulator = std::make_unique<CS760Emulator>(ends_, clock, faults, folder);
        input_ = lists_.FindInput(CS760Emulator::kPortName)->Open(parser_);
        output_ = lists_.FindOutput(CS760Emulator::kPortName)->Open();
        link_ = std::make_unique<CSysexConnection>(parser_, *output_);
    }
    ~S760TestBench()
    {
        link_.reset();
        output_.reset();
        input_.reset();
        emulator.reset();
    }

    void Send(const Bytes& message)
    {
        output_->SendBytes(message.data(), static_cast<int32_t>(message.size()));
        sent_ += message.size();
    }
    void Settle()
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (emulator->BytesTaken() < sent_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_EQ(emulator->BytesTaken(), sent_) << "the emulator never took the bytes";
    }
    Bytes Next()
    {
        try {
            std::unique_ptr<CRawSysex> message = link_->Receive(5000);
            received_ += static_cast<uint64_t>(message->GetLength());
            return Bytes(message->GetData(), message->GetData() + message->GetLength());
        } catch (const XBase&) {
            ADD_FAILURE() << "no message from the emulator";
            return {};
        }
    }
    Bytes Ask(const Bytes& message)
    {
        Send(message);
        return Next();
    }
    bool SaidNothingMore()
    {
        Settle();
        return emulator->BytesSent() == received_;
    }

    // Want to send, the data in pieces of at most 256 bytes, end of data;
    // true when every step was acknowledged. `pieces` gets the piece sizes.
    bool HandshakeWrite(uint32_t address, const Bytes& data, std::vector<size_t>* pieces = nullptr)
    {
        bool acknowledged = Ask(AddressSize(0x40, address, uint32_t(data.size()))) == RolandAck();
        for (size_t at = 0; acknowledged && at < data.size(); at += 256) {
            const Bytes piece(data.begin() + std::ptrdiff_t(at),
                              data.begin() + std::ptrdiff_t(std::min(data.size(), at + 256)));
            if (pieces)
                pieces->push_back(piece.size());
            acknowledged = Ask(DataMessage(address + uint32_t(at), piece)) == RolandAck();
        }
        return acknowledged && Ask(AddressSize(0x45, address, uint32_t(data.size()))) == RolandAck();
    }
    // Request data, then every data message acknowledged until end of data.
    Bytes HandshakeRead(uint32_t address, uint32_t size)
    {
        Bytes data;
        Bytes m = Ask(AddressSize(0x41, address, size));
        while (m.size() >= 11 && m[4] == 0x42) {
            EXPECT_EQ(m, DataMessage(address + uint32_t(data.size()), Bytes(m.begin() + 9, m.end() - 2)));
            data.insert(data.end(), m.begin() + 9, m.end() - 2);
            m = Ask(RolandAck());
        }
        EXPECT_EQ(m, AddressSize(0x45, address, size));
        Send(RolandAck());
        return data;
    }
    // The file list of `category`: the entries up to the one of category 0.
    std::vector<SListEntry> FileList(uint8_t category, size_t* sets = nullptr)
    {
        std::vector<SListEntry> entries;
        Send(DataSet(kFileList, {category, 0}));
        for (size_t count = 1;; ++count) {
            const Bytes m = Next();
            if (m.size() < 11 || m[4] != 0x12) {
                ADD_FAILURE() << "no file list data set";
                return entries;
            }
            const Bytes data(m.begin() + 9, m.end() - 2);
            EXPECT_EQ(m, DataSet(kFileList, data)) << "address or checksum";
            EXPECT_LE(data.size(), 320u);
            for (size_t at = 0; at + 20 <= data.size(); at += 20) {
                if (data[at] == 0) {
                    if (sets)
                        *sets = count;
                    return entries;
                }
                entries.push_back({data[at], uint32_t(data[at + 1]) * 256 + data[at + 2] * 16 + data[at + 3],
                                   Bytes(data.begin() + std::ptrdiff_t(at + 4),
                                         data.begin() + std::ptrdiff_t(at + 20))});
            }
        }
    }
    // A sample dump closed loop into `number`; the handshakes it got.
    std::vector<Bytes> SendSample(uint32_t number, const std::vector<uint32_t>& words, uint32_t period = 22676,
                                  uint32_t format = 16)
    {
        std::vector<Bytes> answers;
        answers.push_back(Ask(HeaderMessage(number, format, period, uint32_t(words.size()), 0, 0, 0x7F)));
        for (const Bytes& packet : DumpPackets(format, words))
            answers.push_back(Ask(packet));
        return answers;
    }
    // A dump request answered closed loop: the header, then the words.
    std::vector<uint32_t> ReceiveSample(uint32_t number, Bytes* header = nullptr)
    {
        const Bytes first = Ask(Request(number));
        if (header)
            *header = first;
        if (first.size() != 21 || first[3] != 0x01) {
            ADD_FAILURE() << "no dump header";
            return {};
        }
        const uint32_t length = first[10] | first[11] << 7 | first[12] << 14;
        std::vector<uint32_t> words;
        Send(Ack(0));
        for (uint32_t n = 0; words.size() < length; ++n) {
            const Bytes packet = Next();
            if (packet.size() != 127 || packet[4] != n % 128)
                return words;
            for (size_t w = 0; w < 40 && words.size() < length; ++w) {
                const uint8_t* b = packet.data() + 5 + 3 * w;
                words.push_back((uint32_t(b[0]) << 9) | (uint32_t(b[1]) << 2) | (b[2] >> 5));
            }
            Send(Ack(uint8_t(n % 128)));
        }
        return words;
    }

    ManualEmulatorClock clock;
    std::unique_ptr<CS760Emulator> emulator;

private:
    CMIDIPortLists lists_;
    SLoopbackMIDIDevice ends_;
    CSysexMIDIInput parser_;
    std::unique_ptr<CMIDIInput> input_;
    std::unique_ptr<CMIDIOutput> output_;
    std::unique_ptr<CSysexConnection> link_;
    uint64_t sent_ = 0;
    uint64_t received_ = 0;
};

} // namespace quorvel::test
