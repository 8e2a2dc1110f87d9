#pragma once
// Builds chunk files byte by byte, so that tests control every field,
// including the malformed ones.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Media.h"
#include "fileformats/Extended80.h"

namespace quorvel::test {

using Bytes = std::vector<uint8_t>;

inline Bytes& operator+=(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
    return out;
}
inline Bytes operator+(Bytes a, const Bytes& b) { return a += b; }
inline Bytes Text(const std::string& s) { return {s.begin(), s.end()}; }
inline Bytes BE16(uint32_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
inline Bytes BE32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }
inline Bytes LE16(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
inline Bytes LE32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }
inline Bytes Size32(bool bigEndian, uint32_t v) { return bigEndian ? BE32(v) : LE32(v); }

// A chunk with its stored size (the payload's unless given), padded when odd.
inline Bytes Chunk(const char* id, const Bytes& payload, bool bigEndian = true, bool pad = true,
                   int64_t storedSize = -1)
{
    Bytes out = Text(std::string(id, 4)) + Size32(bigEndian, uint32_t(storedSize >= 0 ? storedSize : payload.size()));
    out += payload;
    if (pad && (payload.size() & 1))
        out.push_back(0);
    return out;
}

inline Bytes Group(const char* id, const char* type, const Bytes& content, bool bigEndian = true,
                   int64_t storedSize = -1)
{
    return Text(std::string(id, 4)) + Size32(bigEndian, uint32_t(storedSize >= 0 ? storedSize : content.size() + 4)) +
           Text(std::string(type, 4)) + content;
}

inline Bytes CommPayload(uint32_t channels, uint32_t frames, uint32_t bits, double rate)
{
    uint8_t extended[10];
    RateToExtended(rate, extended);
    return BE16(channels) + BE32(frames) + BE16(bits) + Bytes(extended, extended + 10);
}

inline Bytes BESamples(const std::vector<int16_t>& samples)
{
    Bytes out;
    for (int16_t s : samples)
        out += BE16(uint16_t(s));
    return out;
}

inline Bytes LESamples(const std::vector<int16_t>& samples)
{
    Bytes out;
    for (int16_t s : samples)
        out += LE16(uint16_t(s));
    return out;
}

// Base note, detune, sustain loop (mode, begin and end marker ids).
inline Bytes InstPayload(uint8_t note, int8_t detune, uint16_t mode, uint16_t begin, uint16_t end)
{
    return Bytes{note, uint8_t(detune), 0, 127, 1, 127, 0, 0} + BE16(mode) + BE16(begin) + BE16(end) + Bytes(6);
}

struct Marker {
    uint16_t id;
    int32_t position;
    std::string name;
};

inline Bytes MarkPayload(const std::vector<Marker>& markers)
{
    Bytes out = BE16(uint32_t(markers.size()));
    for (const Marker& m : markers) {
        out += BE16(m.id) + BE32(uint32_t(m.position)) + Bytes{uint8_t(m.name.size())} + Text(m.name);
        if ((m.name.size() & 1) == 0)
            out.push_back(0);
    }
    return out;
}

// A 16-bit AIFF file: "COMM", `before`, "SSND", `after`.
inline Bytes Aiff(uint32_t channels, const std::vector<int16_t>& samples, const Bytes& before = {},
                  const Bytes& after = {})
{
    const Bytes comm = Chunk("COMM", CommPayload(channels, uint32_t(samples.size() / channels), 16, 44100));
    return Group("FORM", "AIFF", comm + before + Chunk("SSND", Bytes(8) + BESamples(samples)) + after);
}

inline Bytes FmtPayload(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t bits)
{
    const uint32_t bytes = bits >= 8 ? bits / 8 : 1;
    return LE16(tag) + LE16(channels) + LE32(rate) + LE32(rate * channels * bytes) + LE16(channels * bytes) + LE16(bits);
}

// A 16-bit WAV file: "fmt ", `before`, "data".
inline Bytes Wave(uint32_t channels, const std::vector<int16_t>& samples, const Bytes& before = {})
{
    return Group("RIFF", "WAVE",
                 Chunk("fmt ", FmtPayload(1, channels, 44100, 16), false) + before +
                     Chunk("data", LESamples(samples), false),
                 false);
}

// The "fmt " payload of WAVE_FORMAT_EXTENSIBLE with the given sub-format.
inline Bytes ExtensibleFmt(uint32_t channels, uint32_t bits, uint16_t subFormat)
{
    return FmtPayload(0xFFFE, channels, 44100, bits) + LE16(22) + LE16(bits) + LE32(3) + LE16(subFormat) +
           Bytes{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
}

// A stream over a test's bytes (the bytes live as long as the stream).
struct OwnedBytes {
    Bytes bytes;
};
class BytesMedia : private OwnedBytes, public CMemoryMedia {
public:
    explicit BytesMedia(Bytes content)
        : OwnedBytes{std::move(content)}, CMemoryMedia(bytes.data(), static_cast<int32_t>(bytes.size()))
    {
    }
};

} // namespace quorvel::test
