#pragma once
// A scripted Yamaha A3000 for the interface tests, written from the
// sampler's published bulk-dump description rather than from the program's
// code: it keeps named objects, answers requests for the object list, a
// sample's parameters, its wave data and a sample bank, and stores the wave
// and bank dumps it is sent. Faults are set per dump.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "../devices/MIDITestDoubles.h"

namespace quorvel::test {

class FakeA3000Sampler {
public:
    struct Object {
        uint8_t type = 16;
        std::string name;
        Bytes parameters; // the decoded payload before the words, or the whole bank
        std::vector<int16_t> words;
    };

    FakeA3000Sampler(FakeClock& clock, ScriptedInput& input, RecordingOutput& output, uint8_t device = 0)
        : clock_(clock), input_(input), device_(device)
    {
        output.onPiece = [this](const Bytes& piece) { OnPiece(piece); };
    }

    std::vector<Object> objects;
    std::vector<Bytes> requests;
    bool silent = false;
    // The next wave dump answers under this name.
    std::optional<std::string> answerAs;
    // The next wave dump carries a wrong XOR in this block (0 = the first).
    std::optional<size_t> badBlock;
    // Ignores dumps of this type instead of keeping them.
    std::string dropType;

    static std::string Padded(const std::string& name)
    {
        std::string padded = name.substr(0, 16);
        padded.resize(16, ' ');
        return padded;
    }
    static std::string Trimmed(const uint8_t* bytes)
    {
        std::string name(reinterpret_cast<const char*>(bytes), 16);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        return name;
    }

    void AddSample(const std::string& name, const std::vector<int16_t>& words, uint16_t rate = 44100)
    {
        Bytes parameters(73, 0);
        const std::string padded = Padded(name);
        std::copy(padded.begin(), padded.end(), parameters.begin());
        const auto length = static_cast<uint32_t>(words.size());
        for (int i = 0; i < 4; ++i)
            parameters[16 + i] = static_cast<uint8_t>(length >> (24 - 8 * i));
        parameters[20] = static_cast<uint8_t>(rate >> 8);
        parameters[21] = static_cast<uint8_t>(rate & 0xFF);
        parameters[22] = 60;
        parameters[42] = 16;
        objects.push_back({16, name, parameters, words});
    }

    // A dump as the sampler sends it: the payload nibble-coded, the first
    // block holding the header, every block closed by its XOR.
    Bytes Dump(const std::string& type, const std::string& name, const Bytes& payload,
               std::optional<size_t> corrupt = std::nullopt) const
    {
        Bytes wire;
        for (uint8_t b : payload) {
            wire.push_back(b >> 4);
            wire.push_back(b & 0x0F);
        }
        Bytes out{0xF0, 0x43, device_, 0x7A, 0, 0};
        const std::string head = "LM  0278" + type + Padded(name);
        out.insert(out.end(), head.begin(), head.end());
        size_t at = 0, block = 0;
        size_t first = std::min<size_t>(wire.size(), 4070);
        out.insert(out.end(), wire.begin(), wire.begin() + static_cast<std::ptrdiff_t>(first));
        const size_t count = out.size() - 6;
        out[4] = static_cast<uint8_t>(count >> 7);
        out[5] = static_cast<uint8_t>(count & 0x7F);
        out.push_back(Xor(out, 6, count) ^ (corrupt == block ? 1 : 0));
        at = first;
        while (at < wire.size()) {
            ++block;
            const size_t n = std::min<size_t>(wire.size() - at, 4096);
            out.push_back(static_cast<uint8_t>(n >> 7));
            out.push_back(static_cast<uint8_t>(n & 0x7F));
            const size_t start = out.size();
            out.insert(out.end(), wire.begin() + static_cast<std::ptrdiff_t>(at),
                       wire.begin() + static_cast<std::ptrdiff_t>(at + n));
            out.push_back(Xor(out, start, n) ^ (corrupt == block ? 1 : 0));
            at += n;
        }
        out.push_back(0xF7);
        return out;
    }

    // A dump's payload, or nothing when a block fails its XOR.
    static std::optional<Bytes> Payload(const Bytes& m)
    {
        size_t count = static_cast<size_t>(m[4]) << 7 | m[5];
        if (Xor(m, 6, count) != m[6 + count])
            return std::nullopt;
        Bytes wire(m.begin() + 32, m.begin() + static_cast<std::ptrdiff_t>(6 + count));
        size_t at = 6 + count + 1;
        while (at + 1 < m.size()) {
            const size_t n = static_cast<size_t>(m[at]) << 7 | m[at + 1];
            if (at + 2 + n + 1 >= m.size() || Xor(m, at + 2, n) != m[at + 2 + n])
                return std::nullopt;
            wire.insert(wire.end(), m.begin() + static_cast<std::ptrdiff_t>(at + 2),
                        m.begin() + static_cast<std::ptrdiff_t>(at + 2 + n));
            at += 2 + n + 1;
        }
        Bytes payload(wire.size() / 2);
        for (size_t i = 0; i < payload.size(); ++i)
            payload[i] = static_cast<uint8_t>(wire[2 * i] << 4 | wire[2 * i + 1]);
        return payload;
    }

    const Object* Find(uint8_t type, const std::string& name) const
    {
        for (const Object& object : objects)
            if (object.type == type && object.name == name)
                return &object;
        return nullptr;
    }

private:
    static uint8_t Xor(const Bytes& data, size_t at, size_t count)
    {
        uint8_t x = 0;
        for (size_t i = 0; i < count; ++i)
            x ^= data[at + i];
        return x;
    }

    void OnPiece(const Bytes& piece)
    {
        for (uint8_t b : piece) {
            if (b == 0xF0)
                pending_.clear();
            pending_.push_back(b);
            if (b == 0xF7) {
                OnMessage(pending_);
                pending_.clear();
            }
        }
    }

    void Answer(const Bytes& bytes) { input_.At(clock_.now + 1, bytes); }

    void OnMessage(const Bytes& m)
    {
        if (m.size() < 4 || m[0] != 0xF0 || m[1] != 0x43 || m[3] != 0x7A)
            return;
        if (m.size() == 31 && m[2] == 0x20 + device_) {
            requests.push_back(m);
            if (!silent)
                OnRequest(std::string(m.begin() + 12, m.begin() + 14), Trimmed(m.data() + 14));
            return;
        }
        if (m[2] != device_ || m.size() < 33)
            return;
        const std::string type(m.begin() + 14, m.begin() + 16);
        const std::string name = Trimmed(m.data() + 16);
        const std::optional<Bytes> payload = Payload(m);
        if (!payload || type == dropType)
            return;
        if (type == "WD" && payload->size() >= 73) {
            Object object{16, name, Bytes(payload->begin(), payload->begin() + 73), {}};
            for (size_t at = 73; at + 1 < payload->size(); at += 2)
                object.words.push_back(static_cast<int16_t>((*payload)[at] << 8 | (*payload)[at + 1]));
            objects.push_back(object);
        } else if (type == "SP") {
            for (Object& object : objects)
                if (object.type == 16 && object.name == name)
                    object.parameters = *payload;
        } else if (type == "SB") {
            objects.push_back({17, name, *payload, {}});
        }
    }

    void OnRequest(const std::string& type, const std::string& name)
    {
        if (type == "OL") {
            Bytes list;
            for (const Object& object : objects) {
                list.push_back(object.type);
                const std::string padded = Padded(object.name);
                list.insert(list.end(), padded.begin(), padded.end());
            }
            return Answer(Dump("OL", "Object List", list));
        }
        const Object* object = Find(type == "SB" ? 17 : 16, name);
        if (!object)
            return;
        if (type == "SP" || type == "SB")
            return Answer(Dump(type, name, object->parameters));
        if (type != "WD")
            return;
        Bytes payload = object->parameters;
        for (int16_t word : object->words) {
            payload.push_back(static_cast<uint8_t>(static_cast<uint16_t>(word) >> 8));
            payload.push_back(static_cast<uint8_t>(word & 0xFF));
        }
        Answer(Dump("WD", answerAs.value_or(name), payload, badBlock));
        answerAs.reset();
        badBlock.reset();
    }

    FakeClock& clock_;
    ScriptedInput& input_;
    uint8_t device_;
    Bytes pending_;
};

} // namespace quorvel::test
