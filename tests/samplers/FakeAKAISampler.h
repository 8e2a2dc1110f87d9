#pragma once
// A scripted AKAI S1000/S3000 family sampler for the interface tests,
// written from the sampler's published exclusive messages rather than from
// the program's code: it keeps samples (header bytes and words), answers the
// name list, header, packet and delete requests, and takes the words of a
// new sample as a sample dump (through FakeSDSSampler).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FakeSDSSampler.h"

namespace quorvel::test {

constexpr std::string_view kAKAIAlphabet = "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ#+-.";

inline Bytes AKAICodes(const std::string& name)
{
    Bytes codes(12, 10);
    for (size_t i = 0; i < name.size() && i < 12; ++i) {
        const size_t at = kAKAIAlphabet.find(name[i]);
        codes[i] = at == std::string_view::npos ? 10 : static_cast<uint8_t>(at);
    }
    return codes;
}

inline std::string AKAIText(const uint8_t* codes)
{
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += codes[i] < kAKAIAlphabet.size() ? kAKAIAlphabet[codes[i]] : ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// Data bytes as message bytes: low nibble, then high nibble.
inline Bytes Nibbled(const Bytes& data)
{
    Bytes out;
    for (uint8_t b : data) {
        out.push_back(b & 0x0F);
        out.push_back(static_cast<uint8_t>(b >> 4));
    }
    return out;
}

inline Bytes Unnibbled(const uint8_t* src, size_t count)
{
    Bytes out(count);
    for (size_t i = 0; i < count; ++i)
        out[i] = static_cast<uint8_t>((src[2 * i] & 0x0F) | (src[2 * i + 1] << 4));
    return out;
}

inline uint32_t LittleEndian(const Bytes& data, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | data[at + static_cast<size_t>(i)];
    return value;
}

class FakeAKAISampler {
public:
    struct Sample {
        Bytes header; // decoded, 150 or 192 bytes
        std::vector<int16_t> words;
        std::string Name() const { return AKAIText(header.data() + 3); }
    };

    FakeAKAISampler(FakeClock& clock, ScriptedInput& input, RecordingOutput& output, bool s3000,
                    uint8_t channel = 0)
        : clock_(clock), input_(input), channel_(channel), s3000_(s3000), dump_(clock, input, output, channel)
    {
        forward_ = output.onPiece;
        output.onPiece = [this](const Bytes& message) { OnMessage(message); };
    }

    std::vector<Sample> samples;
    std::vector<std::string> programs;
    std::vector<Bytes> akaiMessages; // every AKAI message received
    uint8_t versionMajor = 4, versionMinor = 40;
    // Names the sampler "forgets" as soon as it stored them.
    std::optional<std::string> dropName;
    // A WAIT this many ms before the answer to the next request, and the answer that long after it.
    std::optional<uint32_t> waitThenAnswerAfter;

    size_t HeaderBytes() const { return s3000_ ? 192 : 150; }

    // A sample as the sampler would hold it after sampling.
    void AddSample(const std::string& name, const std::vector<int16_t>& words, uint16_t rate = 44100)
    {
        Sample sample;
        sample.header.assign(HeaderBytes(), 0);
        sample.header[0] = 3;
        sample.header[2] = 60;
        const Bytes codes = AKAICodes(name);
        std::copy(codes.begin(), codes.end(), sample.header.begin() + 3);
        Put(sample.header, 26, 4, static_cast<uint32_t>(words.size()));
        Put(sample.header, 34, 4, static_cast<uint32_t>(words.size() - 1));
        Put(sample.header, 138, 2, rate);
        sample.header[19] = 2;
        sample.words = words;
        samples.push_back(sample);
    }

    static void Put(Bytes& data, size_t at, int width, uint32_t value)
    {
        for (int i = 0; i < width; ++i, value >>= 8)
            data[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value & 0xFF);
    }

    FakeSDSSampler& Dump() { return dump_; }

private:
    void Answer(const Bytes& bytes)
    {
        uint64_t delay = 1;
        if (waitThenAnswerAfter) {
            input_.At(clock_.now + 1, SdsHandshake(kWait, 0, channel_));
            delay = *waitThenAnswerAfter;
            waitThenAnswerAfter.reset();
        }
        input_.At(clock_.now + delay, bytes);
    }
    Bytes Frame(uint8_t op, const Bytes& body) const
    {
        Bytes out{0xF0, 0x47, channel_, op, 0x48};
        out.insert(out.end(), body.begin(), body.end());
        out.push_back(0xF7);
        return out;
    }
    void Reply(uint8_t result) { Answer(Frame(0x16, {result})); }

    void OnMessage(const Bytes& message)
    {
        if (message.size() >= 6 && message[1] == 0x47 && message[2] == channel_ && message[4] == 0x48) {
            akaiMessages.push_back(message);
            OnAKAI(message);
            return;
        }
        if (forward_)
            forward_(message);
        CommitDump();
    }

    static Bytes NameList(const std::vector<std::string>& names)
    {
        Bytes body{static_cast<uint8_t>(names.size() & 0x7F), static_cast<uint8_t>(names.size() >> 7)};
        for (const std::string& name : names) {
            const Bytes codes = AKAICodes(name);
            body.insert(body.end(), codes.begin(), codes.end());
        }
        return body;
    }

    void OnAKAI(const Bytes& m)
    {
        const uint8_t op = m[3];
        const uint16_t number = m.size() >= 8 ? static_cast<uint16_t>(m[5] | m[6] << 7) : 0;
        switch (op) {
        case 0x00:
            return Answer(Frame(0x01, {versionMinor, versionMajor, 0, 4, 0, 3, 0, 0, 0x40, 0, 0, 0, 0x20, 0, channel_}));
        case 0x02:
            return Answer(Frame(0x03, NameList(programs)));
        case 0x04: {
            std::vector<std::string> names;
            for (const Sample& s : samples)
                names.push_back(s.Name());
            return Answer(Frame(0x05, NameList(names)));
        }
        case 0x0A:
            if (number >= samples.size())
                return Reply(1);
            return Answer(HeaderMessage(number));
        case 0x0B:
            return OnHeader(m, number);
        case 0x0C:
            return OnPacketRequest(m, number);
        case 0x12:
            if (number >= programs.size())
                return Reply(1);
            programs.erase(programs.begin() + number);
            return Reply(0);
        case 0x14:
            if (number >= samples.size())
                return Reply(1);
            samples.erase(samples.begin() + number);
            return Reply(0);
        default:
            return;
        }
    }

    Bytes HeaderMessage(uint16_t number) const
    {
        Bytes body{static_cast<uint8_t>(number & 0x7F), static_cast<uint8_t>(number >> 7)};
        if (s3000_)
            body.insert(body.end(), {0, 0, 0, static_cast<uint8_t>(192 & 0x7F), static_cast<uint8_t>(192 >> 7)});
        const Bytes nibbles = Nibbled(samples[number].header);
        body.insert(body.end(), nibbles.begin(), nibbles.end());
        return Frame(0x0B, body);
    }

    void OnHeader(const Bytes& m, uint16_t number)
    {
        const size_t offset = s3000_ ? 12 : 7;
        if (m.size() != offset + 2 * HeaderBytes() + 1 || number > samples.size())
            return;
        pending_ = Sample{Unnibbled(m.data() + offset, HeaderBytes()), {}};
        pendingNumber_ = number;
    }

    void CommitDump()
    {
        if (!pending_ || dump_.header.size() != 21)
            return;
        const uint32_t length = dump_.header[10] | dump_.header[11] << 7 | dump_.header[12] << 14;
        if (dump_.payloads.size() * 40 < length)
            return;
        Bytes all;
        for (const Bytes& payload : dump_.payloads)
            all.insert(all.end(), payload.begin(), payload.end());
        for (int32_t w : SdsSignificantWords(all, 16, length))
            pending_->words.push_back(static_cast<int16_t>(w));
        if (!dropName || pending_->Name() != *dropName) {
            if (pendingNumber_ == samples.size())
                samples.push_back(*pending_);
            else
                samples[pendingNumber_] = *pending_;
        }
        pending_.reset();
        dump_.header.clear();
    }

    void OnPacketRequest(const Bytes& m, uint16_t number)
    {
        if (m.size() != 18 || number >= samples.size())
            return Reply(1);
        const Sample& sample = samples[number];
        const uint32_t length = static_cast<uint32_t>(sample.words.size());
        const uint32_t rate = LittleEndian(sample.header, 138, 2);
        const uint32_t period = 1000000000u / rate;
        Bytes header{0xF0, 0x7E, channel_, 0x01, m[5], m[6], 16};
        for (uint32_t v : {period, length, length, length})
            for (int i = 0; i < 3; ++i)
                header.push_back(static_cast<uint8_t>((v >> (7 * i)) & 0x7F));
        header.push_back(0x7F);
        header.push_back(0xF7);
        dump_.dumpHeader = header;
        dump_.dumpPayloads.clear();
        for (uint32_t start = 0; start < length; start += 40) {
            Bytes payload(120, 0);
            for (uint32_t w = 0; w < 40 && start + w < length; ++w) {
                const uint16_t v = static_cast<uint16_t>(sample.words[start + w] + 0x8000);
                payload[3 * w] = static_cast<uint8_t>(v >> 9);
                payload[3 * w + 1] = static_cast<uint8_t>((v >> 2) & 0x7F);
                payload[3 * w + 2] = static_cast<uint8_t>((v & 3) << 5);
            }
            dump_.dumpPayloads.push_back(payload);
        }
        // The sampler answers as it would a dump request.
        forward_({0xF0, 0x7E, channel_, 0x03, m[5], m[6], 0xF7});
    }

    FakeClock& clock_;
    ScriptedInput& input_;
    uint8_t channel_;
    bool s3000_;
    FakeSDSSampler dump_;
    std::function<void(const Bytes&)> forward_;
    std::optional<Sample> pending_;
    size_t pendingNumber_ = 0;
};

} // namespace quorvel::test
