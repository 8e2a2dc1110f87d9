#pragma once
// A scripted Kurzweil object peer for the program-side tests, written from
// the published object messages: it keeps objects by type and id (name and
// body), answers DIR, DEL, CHANGE, WRITE, READ and DIRBANK as the manuals
// describe, and passes sample-dump traffic to a FakeSDSSampler on the same
// cable. Its bit-stream packing is its own, bit by bit.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FakeSDSSampler.h"

namespace quorvel::test {

// Bit by bit: each body bit, most significant first, into 7-bit groups.
inline Bytes KPack(const Bytes& body)
{
    Bytes wire;
    int used = 7;
    for (uint8_t byte : body)
        for (int bit = 7; bit >= 0; --bit) {
            if (used == 7) {
                wire.push_back(0);
                used = 0;
            }
            wire.back() |= static_cast<uint8_t>(((byte >> bit) & 1) << (6 - used));
            ++used;
        }
    return wire;
}

inline Bytes KUnpack(const Bytes& wire)
{
    Bytes body;
    int have = 0;
    uint8_t current = 0;
    for (uint8_t group : wire)
        for (int bit = 6; bit >= 0; --bit) {
            current = static_cast<uint8_t>((current << 1) | ((group >> bit) & 1));
            if (++have == 8) {
                body.push_back(current);
                have = 0;
                current = 0;
            }
        }
    return body;
}

inline uint8_t KSum(const Bytes& bytes, size_t from, size_t to)
{
    unsigned sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>(sum & 0x7F);
}

class FakeKurzweilSampler {
public:
    struct Object {
        std::string name;
        Bytes body;
    };
    using Key = std::pair<uint16_t, uint16_t>; // type, id

    FakeKurzweilSampler(FakeClock& clock, ScriptedInput& input, RecordingOutput& output, uint8_t device = 0)
        : sds(clock, input, output, device), clock_(clock), input_(input), device_(device)
    {
        auto passOn = output.onPiece;
        output.onPiece = [this, passOn](const Bytes& message) {
            if (message.size() > 4 && message[1] == 0x07)
                OnMessage(message);
            else
                passOn(message);
        };
    }

    FakeSDSSampler sds;
    std::map<Key, Object> objects;

    // --- scripted behaviour
    bool silent = false;
    std::optional<uint16_t> writeGivesId;     // the id a WRITE answer names instead of the free one
    std::optional<uint8_t> refuseWrites;      // a DNAK with this code instead
    std::function<void(Bytes&)> tamperWrite;  // applied to the WRITE a READ is answered with
    std::optional<Bytes> answerInstead;       // sent in place of the next answer
    bool listEveryBank = false;               // DIRBANK lists the type's objects of all banks

    // --- what it received
    std::vector<Bytes> messages;
    std::vector<Bytes> dacks;

    static uint16_t Two(const Bytes& m, size_t at) { return static_cast<uint16_t>((m[at] << 7) | m[at + 1]); }
    static uint32_t Three(const Bytes& m, size_t at) { return (uint32_t(m[at]) << 14) | (m[at + 1] << 7) | m[at + 2]; }

    Bytes Head(uint8_t number) const { return {0xF0, 0x07, device_, 0x78, number}; }
    static void PutTwo(Bytes& m, uint32_t v)
    {
        m.push_back(static_cast<uint8_t>((v >> 7) & 0x7F));
        m.push_back(static_cast<uint8_t>(v & 0x7F));
    }
    static void PutThree(Bytes& m, uint32_t v)
    {
        m.push_back(static_cast<uint8_t>((v >> 14) & 0x7F));
        PutTwo(m, v);
    }
    static void PutName(Bytes& m, const std::string& name)
    {
        m.insert(m.end(), name.begin(), name.end());
        m.push_back(0);
    }

    Bytes Info(uint16_t type, uint16_t id) const
    {
        Bytes m = Head(5);
        PutTwo(m, type);
        PutTwo(m, id);
        const auto found = objects.find({type, id});
        PutThree(m, found == objects.end() ? 0 : static_cast<uint32_t>(found->second.body.size()));
        m.push_back(found == objects.end() ? 0 : 1);
        PutName(m, found == objects.end() ? std::string() : found->second.name);
        m.push_back(0xF7);
        return m;
    }
    Bytes Ack(uint16_t type, uint16_t id, uint32_t size) const
    {
        Bytes m = Head(2);
        PutTwo(m, type);
        PutTwo(m, id);
        PutThree(m, 0);
        PutThree(m, size);
        m.push_back(0xF7);
        return m;
    }
    Bytes Refuse(uint16_t type, uint16_t id, uint8_t code) const
    {
        Bytes m = Head(3);
        PutTwo(m, type);
        PutTwo(m, id);
        PutThree(m, 0);
        PutThree(m, 0);
        m.push_back(code);
        m.push_back(0xF7);
        return m;
    }
    Bytes WriteOf(uint16_t type, uint16_t id) const
    {
        const Object& object = objects.at({type, id});
        Bytes m = Head(9);
        PutTwo(m, type);
        PutTwo(m, id);
        PutThree(m, static_cast<uint32_t>(object.body.size()));
        m.push_back(0);
        PutName(m, object.name);
        m.push_back(1);
        const Bytes packed = KPack(object.body);
        m.insert(m.end(), packed.begin(), packed.end());
        m.push_back(KSum(packed, 0, packed.size()));
        m.push_back(0xF7);
        return m;
    }

private:
    void Answer(Bytes bytes)
    {
        if (answerInstead) {
            bytes = *answerInstead;
            answerInstead.reset();
        }
        input_.At(clock_.now + 1, bytes);
    }

    uint16_t FreeIdFrom(uint16_t type, uint16_t first) const
    {
        uint16_t id = std::max<uint16_t>(first, 1);
        while (objects.count({type, id}))
            ++id;
        return id;
    }

    void OnMessage(const Bytes& m)
    {
        messages.push_back(m);
        if (silent || m[2] != device_ || m[3] != 0x78)
            return;
        const uint16_t type = Two(m, 5);
        switch (m[4]) {
        case 2:
            dacks.push_back(m);
            break;
        case 4:
            Answer(Info(type, Two(m, 7)));
            break;
        case 7: {
            const uint16_t id = Two(m, 7);
            objects.erase({type, id});
            Answer(Info(type, id));
            break;
        }
        case 8: {
            const uint16_t id = Two(m, 7), newId = Two(m, 9);
            auto found = objects.find({type, id});
            if (found != objects.end()) {
                Object object = found->second;
                object.name = std::string(m.begin() + 11, std::find(m.begin() + 11, m.end() - 1, uint8_t(0)));
                objects.erase(found);
                objects[{type, newId == 0 ? id : newId}] = object;
            }
            Answer(Info(type, newId == 0 ? id : newId));
            break;
        }
        case 9:
            OnWrite(m, type);
            break;
        case 10: {
            const uint16_t id = Two(m, 7);
            if (!objects.count({type, id}))
                return Answer(Refuse(type, id, 4));
            Bytes write = WriteOf(type, id);
            if (tamperWrite)
                tamperWrite(write);
            Answer(write);
            break;
        }
        case 12: {
            const uint8_t bank = m[7];
            uint64_t at = clock_.now + 1;
            for (const auto& [key, object] : objects)
                if (key.first == type && (listEveryBank || key.second / 100 == bank))
                    input_.At(at++, Info(type, key.second));
            input_.At(at, Bytes{0xF0, 0x07, device_, 0x78, 13, 0xF7});
            break;
        }
        default:
            break;
        }
    }

    void OnWrite(const Bytes& m, uint16_t type)
    {
        const uint16_t id = Two(m, 7);
        const uint32_t size = Three(m, 9);
        const uint8_t mode = m[12];
        const auto nameEnd = std::find(m.begin() + 13, m.end() - 1, uint8_t(0));
        const size_t form = static_cast<size_t>(nameEnd - m.begin()) + 1;
        if (refuseWrites)
            return Answer(Refuse(type, id, *refuseWrites));
        if (m[form] != 1 || KSum(m, form + 1, m.size() - 2) != m[m.size() - 2])
            return Answer(Refuse(type, id, 2));
        Bytes body = KUnpack(Bytes(m.begin() + form + 1, m.end() - 2));
        body.resize(size);
        const uint16_t given = writeGivesId ? *writeGivesId
                               : mode == 1 ? FreeIdFrom(type, id)
                               : id == 0   ? FreeIdFrom(type, 1)
                                           : id;
        objects[{type, given}] = Object{std::string(m.begin() + 13, nameEnd), body};
        Answer(Ack(type, given, size));
    }

    FakeClock& clock_;
    ScriptedInput& input_;
    uint8_t device_;
};

} // namespace quorvel::test
