#pragma once
// The program's side of an emulated Kurzweil sampler: its Loopback MIDI
// ports and, for the MIDI+SCSI models, an SMDI master on a Loopback bus.
// The object messages and the bit-stream packing are built here bit by bit
// from the published message layouts, not with the emulator's own code, so
// that a misreading on either side shows as a difference.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "SMDITestMaster.h"
#include "devices/emulated/KurzweilEmulator.h"

namespace quorvel::test {

// F0 07 00 78 number body F7.
inline Bytes KMessage(uint8_t number, const Bytes& body)
{
    Bytes m(body.size() + 6);
    m[0] = 0xF0;
    m[1] = 0x07;
    m[2] = 0x00;
    m[3] = 0x78;
    m[4] = number;
    std::copy(body.begin(), body.end(), m.begin() + 5);
    m.back() = 0xF7;
    return m;
}

// A number as `width` 7-bit groups, most significant first.
inline Bytes N7(uint32_t value, int width)
{
    Bytes out(static_cast<size_t>(width));
    for (int i = width - 1; i >= 0; --i, value >>= 7)
        out[static_cast<size_t>(i)] = static_cast<uint8_t>(value & 0x7F);
    return out;
}

inline uint32_t Read7(const Bytes& m, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = value * 128 + m.at(at + static_cast<size_t>(i));
    return value;
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Every bit of the body, most significant first, cut into groups of seven;
// the last group is filled up with zero bits.
inline Bytes BitStream(const Bytes& body)
{
    std::vector<int> bits;
    for (uint8_t byte : body)
        for (int b = 7; b >= 0; --b)
            bits.push_back(byte >> b & 1);
    while (bits.size() % 7)
        bits.push_back(0);
    Bytes wire;
    for (size_t i = 0; i < bits.size(); i += 7) {
        int group = 0;
        for (size_t b = 0; b < 7; ++b)
            group = group * 2 + bits[i + b];
        wire.push_back(static_cast<uint8_t>(group));
    }
    return wire;
}

inline Bytes FromBitStream(const Bytes& wire)
{
    std::vector<int> bits;
    for (uint8_t group : wire)
        for (int b = 6; b >= 0; --b)
            bits.push_back(group >> b & 1);
    Bytes body;
    for (size_t i = 0; i + 8 <= bits.size(); i += 8) {
        int byte = 0;
        for (size_t b = 0; b < 8; ++b)
            byte = byte * 2 + bits[i + b];
        body.push_back(static_cast<uint8_t>(byte));
    }
    return body;
}

inline uint8_t Sum7(const Bytes& wire)
{
    unsigned sum = 0;
    for (uint8_t b : wire)
        sum += b;
    return static_cast<uint8_t>(sum % 128);
}

// Message 9: type, id, size, byte 12, name, 0, form 1, packed body, checksum.
inline Bytes WriteMessage(uint16_t type, uint16_t id, uint8_t mode, const std::string& name, const Bytes& body)
{
    const Bytes wire = BitStream(body);
    return KMessage(9, Cat({N7(type, 2), N7(id, 2), N7(static_cast<uint32_t>(body.size()), 3), {mode}, Text(name),
                            {0, 1}, wire, {Sum7(wire)}}));
}
inline Bytes Describe(uint16_t type, uint16_t id) { return KMessage(4, Cat({N7(type, 2), N7(id, 2)})); }
inline Bytes Delete(uint16_t type, uint16_t id) { return KMessage(7, Cat({N7(type, 2), N7(id, 2)})); }
inline Bytes ReadRequest(uint16_t type, uint16_t id) { return KMessage(10, Cat({N7(type, 2), N7(id, 2), {1}})); }
inline Bytes Change(uint16_t type, uint16_t id, uint16_t newId, const std::string& name)
{
    return KMessage(8, Cat({N7(type, 2), N7(id, 2), N7(newId, 2), Text(name), {0}}));
}
inline Bytes ListBank(uint16_t type, uint8_t bank) { return KMessage(12, Cat({N7(type, 2), {bank, 0}})); }

// An answer's message number (byte 4), type and id (bytes 5-8).
inline uint8_t Kind(const Bytes& m) { return m.size() > 4 ? m[4] : 0xFF; }
inline uint32_t TypeOf(const Bytes& m) { return Read7(m, 5, 2); }
inline uint32_t IdOf(const Bytes& m) { return Read7(m, 7, 2); }
// Message 5: size (9-11), flag (12), name from 13.
inline std::string NameOf(const Bytes& m)
{
    std::string name;
    for (size_t i = 13; i < m.size() && m[i] != 0 && m[i] != 0xF7; ++i)
        name.push_back(static_cast<char>(m[i]));
    return name;
}

// Bodies whose counts agree with their sizes.
inline Bytes SoundBlockBody(uint32_t sounds = 1, uint32_t period = 22675)
{
    Bytes b(12 + 32 * sounds, 0);
    b[3] = static_cast<uint8_t>(sounds - 1);
    b[5] = 8;
    for (uint32_t s = 0; s < sounds; ++s) {
        uint8_t* h = &b[12 + 32 * s];
        h[0] = 60;
        h[1] = 0xB0;
        h[4] = 6147 >> 8;
        h[5] = 6147 & 0xFF;
        h[25] = 8;
        h[27] = 6;
        for (int i = 0; i < 4; ++i)
            h[28 + i] = static_cast<uint8_t>(period >> (24 - 8 * i));
    }
    return b;
}
inline Bytes KeymapBody(uint8_t seed)
{
    // 128 entries of 6 bytes in one table that all eight levels share.
    Bytes b(28 + 128 * 6, 0);
    b[3] = 23;
    b[7] = 100;
    b[9] = 127;
    b[11] = 6;
    for (int level = 0; level < 8; ++level)
        b[12 + 2 * level + 1] = static_cast<uint8_t>(16 - 2 * level);
    for (size_t i = 28; i < b.size(); ++i)
        b[i] = static_cast<uint8_t>(i * 37 + seed);
    return b;
}
inline Bytes ProgramBody(uint8_t layers, uint8_t seed)
{
    Bytes b(48 + 224 * layers);
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<uint8_t>(i * 131 + seed);
    b[0] = 8;
    b[1] = 2;
    b[2] = layers;
    return b;
}

class CKurzweilBench {
public:
    explicit CKurzweilBench(const std::string& id = "1000", const std::string& faults = "",
                            const std::string& folder = {})
    {
        std::ostringstream warnings;
        const SEmulatorSettings settings = ParseEmulatorSettings(id.c_str(), nullptr, faults.c_str(), warnings);
        EXPECT_EQ(warnings.str(), "");
        const SKurzweilEmulatorModel* model = FindKurzweilEmulatorModel(id);
        std::shared_ptr<CSMDIEmulator> target;
        if (model->scsi) {
            scsi = std::make_unique<CSMDIMaster>("smdi");
            target = std::make_shared<CSMDIEmulator>(*model->scsi, scsi->clock, settings.faults,
                                                     folder.empty() ? std::string() : folder + "/samples");
            scsi->emulator = target;
            scsi->device = {&scsi->bus, scsi->bus.AddTarget(target), 1000};
        }
        const std::string name = CKurzweilEmulator::PortName(*model);
        ends_ = AddLoopbackMIDIPorts(lists_, name, 0);
        emulator = std::make_unique<CKurzweilEmulator>(*model, ends_, clock, settings.faults, folder, target);
        input_ = lists_.FindInput(name)->Open(parser_);
        output_ = lists_.FindOutput(name)->Open();
        link_ = std::make_unique<CSysexConnection>(parser_, *output_);
    }
    ~CKurzweilBench()
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
    Bytes Exchange(const Bytes& message)
    {
        Send(message);
        return Next();
    }
    bool SaidNothingMore()
    {
        Settle();
        return emulator->BytesSent() == received_;
    }
    // Writes and returns the id the sampler acknowledged (0 when refused).
    uint32_t Write(uint16_t type, uint16_t id, uint8_t mode, const std::string& name, const Bytes& body)
    {
        const Bytes answer = Exchange(WriteMessage(type, id, mode, name, body));
        return Kind(answer) == 2 ? IdOf(answer) : 0;
    }
    // The body a read brings back, checked on the way; empty when refused.
    Bytes ReadBody(uint16_t type, uint16_t id)
    {
        const Bytes m = Exchange(ReadRequest(type, id));
        if (Kind(m) != 9)
            return {};
        const size_t zero = std::find(m.begin() + 13, m.end(), 0) - m.begin();
        EXPECT_EQ(m.at(zero + 1), 1) << "form";
        const Bytes wire(m.begin() + static_cast<std::ptrdiff_t>(zero + 2), m.end() - 2);
        EXPECT_EQ(m[m.size() - 2], Sum7(wire)) << "checksum";
        const uint32_t size = Read7(m, 9, 3);
        EXPECT_EQ(wire.size(), (8 * size + 6) / 7);
        Bytes body = FromBitStream(wire);
        body.resize(size);
        Send(KMessage(2, Cat({N7(type, 2), N7(id, 2), N7(0, 3), N7(size, 3)})));
        return body;
    }

    ManualEmulatorClock clock;
    std::unique_ptr<CKurzweilEmulator> emulator;
    std::unique_ptr<CSMDIMaster> scsi;

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
