#pragma once
// A scripted EPS-family sampler for the protocol tests: it reads what the
// program sends on a RecordingOutput and answers through a ScriptedInput a
// millisecond later. Its message exchange and blocks are written here from
// the published EPS-16 PLUS external command document (sections 2 to 8), not
// taken from the program.
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
inline uint32_t Get12(const Bytes& in, size_t at) { return (uint32_t(in[at]) << 6) | in[at + 1]; }
inline uint32_t Get24(const Bytes& in, size_t at) { return (Get12(in, at) << 12) | Get12(in, at + 2); }
// A 16-bit word: 4, 6 and 6 bits.
inline void Put16(Bytes& out, uint16_t v)
{
    out.push_back(uint8_t(v >> 12));
    out.push_back(uint8_t((v >> 6) & 0x3F));
    out.push_back(uint8_t(v & 0x3F));
}
inline uint16_t Get16(const Bytes& in, size_t word)
{
    return uint16_t((in[3 * word] << 12) | (in[3 * word + 1] << 6) | in[3 * word + 2]);
}
// The high byte of block word `word`, where byte values sit.
inline uint8_t HighOf(const Bytes& block, size_t word) { return uint8_t(Get16(block, word) >> 8); }

class FakeEnsoniqSampler {
public:
    static constexpr size_t kInstrumentWords = 323, kLayerWords = 107, kWaveWords = 139;

    struct Wave {
        uint32_t layer = 0;
        Bytes parameters; // the block as last written
        std::vector<uint16_t> words;
    };
    struct Instrument {
        std::string name = "INSTRUMENT";
        std::map<uint32_t, std::array<uint8_t, 88>> layers{{0, {}}}; // layer -> wave per key
        std::map<uint32_t, Wave> waves;
        bool stereoLayer[8] = {};
    };

    FakeEnsoniqSampler(FakeClock& clock, ScriptedInput& input, RecordingOutput& output, uint8_t channel = 0)
        : clock_(clock), input_(input), channel_(channel)
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
    uint64_t answerDelay = 1;
    std::vector<std::pair<uint32_t, uint32_t>> announced; // wave data ranges written
    std::vector<uint8_t> commands;                        // command bytes of requests, in order
    int acknowledgements = 0;                             // status 0 responses from the program
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
    enum class EPending { None, SendAfterAck, Receive };

    void Answer(const Bytes& bytes, uint64_t delay) { input_.At(clock_.now + delay, bytes); }

    // Status 1 as scripted, then `bytes` (and `then`, a message that waits for the program's ACK).
    void Reply(uint8_t command, const Bytes& bytes)
    {
        uint64_t at = answerDelay;
        for (int k = 0; k < waits[command]; ++k, at += waitGap)
            Answer(Response(1), at);
        waits[command] = 0;
        Answer(bytes, at);
    }

    static Bytes Words(const std::vector<uint16_t>& words)
    {
        Bytes out;
        for (uint16_t w : words)
            Put16(out, w);
        return out;
    }
    static void PutName(std::vector<uint16_t>& words, const std::string& name)
    {
        for (size_t k = 0; k < 12; ++k)
            words[k] = uint16_t((k < name.size() ? uint8_t(name[k]) : ' ') << 8);
    }
    Bytes InstrumentBlock(const Instrument& instrument) const
    {
        std::vector<uint16_t> words(kInstrumentWords, 0);
        PutName(words, instrument.name);
        words[25] = 0xFFFF;
        return Words(words);
    }
    Bytes LayerBlock(const Instrument& instrument, uint32_t layer) const
    {
        std::vector<uint16_t> words(kLayerWords, 0);
        PutName(words, "UNNAMEDLAYER");
        words[14] = instrument.stereoLayer[layer] ? 1 : 0;
        const auto& map = instrument.layers.at(layer);
        for (size_t k = 0; k < 88; ++k)
            words[19 + k] = uint16_t(map[k] << 8);
        return Words(words);
    }
    bool Stereo(const Wave& wave) const
    {
        return wave.parameters.size() == 3 * kWaveWords && HighOf(wave.parameters, 138) == 2;
    }

    void OnMessage(const Bytes& m)
    {
        if (m.size() < 5 || m[1] != 0x0F || m[2] != 3 || m[3] != channel_)
            return;
        const bool response = m.size() == 8 && m[4] == 0x01;
        const bool cancel = m.size() == 6 && m[4] == 0x02;
        if (pending_ == EPending::Receive && !response && !cancel)
            return OnBlock(Bytes(m.begin() + 4, m.end() - 1));
        if (response) {
            if (Get12(m, 5) == 0)
                ++acknowledgements;
            if (pending_ == EPending::SendAfterAck && Get12(m, 5) == 0) {
                pending_ = EPending::None;
                Answer(Frame(channel_, block_), answerDelay);
            }
            return;
        }
        if (cancel) {
            ++cancels;
            return;
        }
        const uint8_t command = m[4];
        commands.push_back(command);
        if (auto refused = refuse.find(command); refused != refuse.end()) {
            const uint32_t status = refused->second;
            refuse.erase(refused);
            return Reply(command, Response(status));
        }
        const uint32_t i = Get12(m, 5), l = Get12(m, 7), w = Get12(m, 9);
        address_ = {i, l, w};
        const bool known = instruments.count(i) > 0;
        Instrument* instrument = known ? &instruments[i] : nullptr;
        const bool layerKnown = known && instrument->layers.count(l) > 0;
        const bool waveKnown = known && instrument->waves.count(w) > 0;
        switch (command) {
        case 3:
        case 4:
        case 5:
        case 6: {
            if (!known)
                return Reply(command, Response(5));
            if (command == 4 && !layerKnown)
                return Reply(command, Response(6));
            if ((command == 5 || command == 6) && !waveKnown)
                return Reply(command, Response(8));
            Bytes named{uint8_t(command + 9)};
            if (command == 3)
                block_ = InstrumentBlock(*instrument);
            else if (command == 4)
                block_ = LayerBlock(*instrument, l);
            else if (command == 5)
                block_ = instrument->waves[w].parameters;
            else {
                const Wave& wave = instrument->waves[w];
                const uint32_t start = Get24(m, 11), end = Get24(m, 15);
                const uint32_t perFrame = Stereo(wave) ? 2 : 1;
                if (end <= start || end * perFrame > wave.words.size())
                    return Reply(command, Response(10));
                block_.clear();
                for (uint32_t k = start * perFrame; k < end * perFrame; ++k)
                    Put16(block_, wave.words[k]);
            }
            named.insert(named.end(), m.begin() + 5, m.end() - 1);
            pending_ = EPending::SendAfterAck;
            Answer(Response(0), answerDelay);
            return Reply(command, Frame(channel_, named));
        }
        case 12:
        case 13:
        case 14:
        case 15:
            if (!known)
                return Reply(command, Response(5));
            if (command == 15)
                announced.emplace_back(Get24(m, 11), Get24(m, 15));
            receiving_ = command;
            pending_ = EPending::Receive;
            return Reply(command, Response(0));
        case 21:
            if (known)
                return Reply(command, Response(13));
            instruments[i] = Instrument{};
            instruments[i].layers.clear();
            return Reply(command, Response(0));
        case 22:
            if (!known)
                return Reply(command, Response(5));
            if (layerKnown)
                return Reply(command, Response(7));
            instrument->layers[l].fill(uint8_t(w));
            instrument->waves[w] = Wave{l, Bytes(3 * kWaveWords, 0), {0x7FFF, 0x8000}};
            return Reply(command, Response(0));
        case 25:
            if (!layerKnown)
                return Reply(command, Response(known ? 6 : 5));
            if (waveKnown)
                return Reply(command, Response(9));
            instrument->waves[w] = Wave{l, Bytes(3 * kWaveWords, 0), {0x7FFF, 0x8000}};
            return Reply(command, Response(0));
        case 26:
            if (!waveKnown)
                return Reply(command, Response(8));
            instrument->waves.erase(w);
            for (auto& [number, map] : instrument->layers)
                for (auto& key : map)
                    if (key == w)
                        key = 0;
            return Reply(command, Response(0));
        case 28:
            if (!known)
                return Reply(command, Response(5));
            instruments.erase(i);
            return Reply(command, Response(0));
        default:
            return Reply(command, Response(0x17));
        }
    }

    void OnBlock(const Bytes& body)
    {
        pending_ = EPending::None;
        Instrument& instrument = instruments[address_[0]];
        switch (receiving_) {
        case 12:
            if (body.size() != 3 * kInstrumentWords)
                return Answer(Response(0x17), answerDelay);
            instrument.name.clear();
            for (size_t k = 0; k < 12; ++k)
                instrument.name.push_back(char(HighOf(body, k)));
            break;
        case 13:
            if (body.size() != 3 * kLayerWords)
                return Answer(Response(0x17), answerDelay);
            for (size_t k = 0; k < 88; ++k)
                instrument.layers[address_[1]][k] = HighOf(body, 19 + k);
            break;
        case 14:
            if (body.size() != 3 * kWaveWords)
                return Answer(Response(0x17), answerDelay);
            instrument.waves[address_[2]].parameters = body;
            break;
        case 15: {
            Wave& wave = instrument.waves[address_[2]];
            if (announced.back().first == 0)
                wave.words.clear();
            for (size_t k = 0; 3 * k < body.size(); ++k)
                wave.words.push_back(Get16(body, k));
            break;
        }
        default:
            break;
        }
        Answer(Response(0), answerDelay);
    }

    FakeClock& clock_;
    ScriptedInput& input_;
    uint8_t channel_;
    EPending pending_ = EPending::None;
    uint8_t receiving_ = 0;
    Bytes partial_;
    Bytes block_;
    std::array<uint32_t, 3> address_{};
};

} // namespace quorvel::test
