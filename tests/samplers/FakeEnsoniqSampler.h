#pragma once
// A scripted EPS-family sampler for the protocol tests: it reads what the
// program sends on a RecordingOutput and answers through a ScriptedInput a
// millisecond later. Its encodings and blocks are written here from the
// documented layouts (docs/ENSONIQ-LAYOUTS.md), not taken from the program.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "../devices/MIDITestDoubles.h"

namespace quorvel::test {

inline void Put12(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t((v >> 6) & 0x3F));
    out.push_back(uint8_t(v & 0x3F));
}
inline void Put24(Bytes& out, uint32_t v)
{
    Put12(out, v >> 12);
    Put12(out, v & 0xFFF);
}
inline uint32_t Get12(const Bytes& in, size_t at) { return (uint32_t(in[at]) << 6) | in[at + 1]; }
inline uint32_t Get24(const Bytes& in, size_t at) { return (Get12(in, at) << 12) | Get12(in, at + 2); }

class FakeEnsoniqSampler {
public:
    struct Wave {
        uint32_t layer = 0;
        Bytes parameters;          // the block as last written
        std::vector<uint16_t> words;
    };
    struct Instrument {
        std::string name = "INSTRUMENT";
        std::map<uint32_t, Wave> waves;
        bool stereoLayer[8] = {};
    };

    // Layer block size after the wave table: 0 (EPS), 2 (EPS-16+), 3 (ASR-10, the last the stereo flag).
    FakeEnsoniqSampler(FakeClock& clock, ScriptedInput& input, RecordingOutput& output, uint8_t channel = 0,
                       int layerExtra = 2, size_t waveBlockBytes = 64)
        : clock_(clock), input_(input), channel_(channel), layerExtra_(layerExtra), waveBlockBytes_(waveBlockBytes)
    {
        // Long messages leave the port in pieces.
        output.onPiece = [this](const Bytes& piece) {
            partial_.insert(partial_.end(), piece.begin(), piece.end());
            if (!partial_.empty() && partial_.back() == 0xF7) {
                const Bytes message = std::move(partial_);
                partial_.clear();
                OnMessage(message);
            }
        };
    }

    std::map<uint32_t, Instrument> instruments;
    // command -> status answered once in place of the usual answer
    std::map<uint8_t, uint32_t> refuse;
    // command -> times status 1 is sent (each `waitGap` ms apart) before the answer
    std::map<uint8_t, int> waits;
    uint64_t waitGap = 5000;
    // Extra delay of every answer.
    uint64_t answerDelay = 1;
    // Every message received, and the ranges of wave data announced.
    std::vector<Bytes> messages;
    std::vector<std::pair<uint32_t, uint32_t>> announced;
    std::vector<uint8_t> commands; // command bytes of requests, in order
    int acknowledgements = 0;      // status 0 responses from the program
    int cancels = 0;

    static Bytes Frame(uint8_t channel, const Bytes& body, uint8_t product = 3)
    {
        Bytes out(body.size() + 5);
        out[0] = 0xF0;
        out[1] = 0x0F;
        out[2] = product;
        out[3] = channel;
        std::copy(body.begin(), body.end(), out.begin() + 4);
        out.back() = 0xF7;
        return out;
    }
    Bytes Response(uint32_t status) const
    {
        Bytes body{0x01};
        Put12(body, status);
        return Frame(channel_, body);
    }

private:
    enum class EPending { None, BlockAfterAck, InstrumentWrite, LayerWrite, WaveWrite, Data };

    void Answer(const Bytes& bytes, uint64_t delay) { input_.At(clock_.now + delay, bytes); }

    // Status 1 as scripted, then `bytes`.
    void Reply(uint8_t command, const Bytes& bytes)
    {
        uint64_t at = answerDelay;
        for (int k = 0; k < waits[command]; ++k, at += waitGap)
            Answer(Response(1), at);
        waits[command] = 0;
        Answer(bytes, at);
    }

    Bytes NameBlock(const std::string& name) const
    {
        Bytes out;
        for (size_t k = 0; k < 12; ++k)
            Put12(out, k < name.size() ? uint8_t(name[k]) : ' ');
        return out;
    }
    Bytes Table(const Instrument& instrument) const
    {
        Bytes out;
        for (uint32_t w = 0; w < 127; ++w) {
            const auto found = instrument.waves.find(w);
            Put12(out, found == instrument.waves.end() ? 0 : found->second.layer + 1);
        }
        return out;
    }
    Bytes InstrumentBlock(const Instrument& instrument) const
    {
        Bytes out = NameBlock(instrument.name);
        Put12(out, 1);
        const Bytes table = Table(instrument);
        out.insert(out.end(), table.begin(), table.end());
        return out;
    }
    Bytes LayerBlock(const Instrument& instrument, uint32_t layer) const
    {
        Bytes out = NameBlock("UNNAMEDLAYER");
        Put12(out, 0);
        Put12(out, 127);
        const Bytes table = Table(instrument);
        out.insert(out.end(), table.begin(), table.end());
        if (layerExtra_ >= 2) {
            Put12(out, 0);
            Put12(out, 127);
        }
        if (layerExtra_ >= 3)
            Put12(out, instrument.stereoLayer[layer] ? 1 : 0);
        return out;
    }

    void OnMessage(const Bytes& m)
    {
        messages.push_back(m);
        if (m.size() < 5 || m[1] != 0x0F || m[2] != 3 || m[3] != channel_)
            return;
        const bool response = m.size() == 8 && m[4] == 0x01;
        const bool cancel = m.size() == 6 && m[4] == 0x02;
        if (pending_ != EPending::None && pending_ != EPending::BlockAfterAck && !response && !cancel)
            return OnBlock(m);
        const uint8_t command = m[4];
        if (command == 0x01 && m.size() == 8) {
            if (Get12(m, 5) == 0)
                ++acknowledgements;
            if (pending_ == EPending::BlockAfterAck && Get12(m, 5) == 0) {
                pending_ = EPending::None;
                Answer(Frame(channel_, block_), answerDelay);
            }
            return;
        }
        if (command == 0x02) {
            ++cancels;
            return;
        }
        commands.push_back(command);
        if (auto refused = refuse.find(command); refused != refuse.end()) {
            const uint32_t status = refused->second;
            refuse.erase(refused);
            return Reply(command, Response(status));
        }
        const uint32_t i = Get12(m, 5), l = Get12(m, 7), w = Get12(m, 9);
        address_ = {i, l, w};
        const bool known = instruments.count(i) > 0;
        switch (command) {
        case 3:
        case 4:
        case 5: {
            if (!known)
                return Reply(command, Response(5));
            Instrument& instrument = instruments[i];
            if (command == 3)
                block_ = InstrumentBlock(instrument);
            else if (command == 4)
                block_ = LayerBlock(instrument, l);
            else if (!instrument.waves.count(w))
                return Reply(command, Response(8));
            else
                block_ = instrument.waves[w].parameters;
            Bytes named{uint8_t(command + 9)};
            Put12(named, i);
            Put12(named, l);
            Put12(named, w);
            pending_ = EPending::BlockAfterAck;
            return Reply(command, Frame(channel_, named));
        }
        case 6: {
            if (!known || !instruments[i].waves.count(w))
                return Reply(command, Response(8));
            const Wave& wave = instruments[i].waves[w];
            const uint32_t start = Get24(m, 11), frames = Get24(m, 15);
            const uint32_t perFrame = wave.words.size() == 0 ? 1 : StereoOf(wave) ? 2 : 1;
            Bytes body;
            for (uint32_t k = start * perFrame; k < (start + frames) * perFrame; ++k) {
                const uint16_t word = k < wave.words.size() ? wave.words[k] : 0;
                body.push_back(uint8_t(word >> 12));
                body.push_back(uint8_t((word >> 6) & 0x3F));
                body.push_back(uint8_t(word & 0x3F));
            }
            return Reply(command, Frame(channel_, body));
        }
        case 12:
        case 13:
        case 14:
            if (!known)
                return Reply(command, Response(5));
            pending_ = command == 12 ? EPending::InstrumentWrite
                                     : command == 13 ? EPending::LayerWrite : EPending::WaveWrite;
            return Reply(command, Response(0));
        case 15:
            if (!known)
                return Reply(command, Response(5));
            announced.emplace_back(Get24(m, 11), Get24(m, 15));
            pending_ = EPending::Data;
            return Reply(command, Response(0));
        case 21:
            instruments[i] = Instrument{};
            return Reply(command, Response(0));
        case 22:
            if (!known)
                return Reply(command, Response(5));
            instruments.erase(i);
            return Reply(command, Response(0));
        case 26:
            if (!known || !instruments[i].waves.count(w))
                return Reply(command, Response(8));
            instruments[i].waves.erase(w);
            return Reply(command, Response(0));
        case 25:
        case 28:
            return Reply(command, known ? Response(0) : Response(5));
        default:
            return Reply(command, Response(99));
        }
    }

    bool StereoOf(const Wave& wave) const
    {
        // EPS-16+ wave blocks end with the channel count.
        return wave.parameters.size() == 64 && Get12(wave.parameters, 62) == 2;
    }

    void OnBlock(const Bytes& m)
    {
        const Bytes body(m.begin() + 4, m.end() - 1);
        Instrument& instrument = instruments[address_[0]];
        const EPending was = pending_;
        pending_ = EPending::None;
        switch (was) {
        case EPending::InstrumentWrite: {
            std::string name;
            for (size_t k = 0; k < 12; ++k)
                name.push_back(char(Get12(body, 2 * k)));
            instrument.name = name;
            break;
        }
        case EPending::WaveWrite: {
            if (body.size() != waveBlockBytes_)
                return Answer(Response(3), answerDelay);
            Wave& wave = instrument.waves[address_[2]];
            wave.layer = address_[1];
            wave.parameters = body;
            break;
        }
        case EPending::Data: {
            Wave& wave = received_[address_[2]];
            for (size_t k = 0; k + 2 < body.size(); k += 3)
                wave.words.push_back(uint16_t((body[k] << 12) | (body[k + 1] << 6) | body[k + 2]));
            // The wave shows once its parameters come.
            if (instrument.waves.count(address_[2]) == 0)
                pendingWords_[address_[2]] = wave.words;
            break;
        }
        default:
            break;
        }
        if (was == EPending::WaveWrite && pendingWords_.count(address_[2])) {
            instrument.waves[address_[2]].words = pendingWords_[address_[2]];
            pendingWords_.erase(address_[2]);
            received_.erase(address_[2]);
        }
        Answer(Response(0), answerDelay);
    }

    FakeClock& clock_;
    ScriptedInput& input_;
    uint8_t channel_;
    int layerExtra_;
    size_t waveBlockBytes_;
    EPending pending_ = EPending::None;
    Bytes partial_;
    Bytes block_;
    std::array<uint32_t, 3> address_{};
    std::map<uint32_t, Wave> received_;
    std::map<uint32_t, std::vector<uint16_t>> pendingWords_;
};

} // namespace quorvel::test
