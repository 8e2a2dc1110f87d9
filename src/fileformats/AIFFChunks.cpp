#include "fileformats/AIFFChunks.h"

#include <algorithm>
#include <cstring>

#include "fileformats/ByteOrder.h"
#include "fileformats/FormatExceptions.h"

namespace quorvel {

AIFFCommon AIFFCommon::Decode(const uint8_t bytes[kSize])
{
    AIFFCommon c;
    c.channels = GetBE16(bytes);
    c.frames = GetBE32(bytes + 2);
    c.bits = GetBE16(bytes + 6);
    std::memcpy(c.rate, bytes + 8, sizeof c.rate);
    return c;
}

void AIFFCommon::Encode(uint8_t bytes[kSize]) const
{
    PutBE16(bytes, channels);
    PutBE32(bytes + 2, frames);
    PutBE16(bytes + 6, bits);
    std::memcpy(bytes + 8, rate, sizeof rate);
}

namespace {

AIFFLoop DecodeLoop(const uint8_t* p)
{
    return {static_cast<int16_t>(GetBE16(p)), GetBE16(p + 2), GetBE16(p + 4)};
}

void EncodeLoop(const AIFFLoop& loop, uint8_t* p)
{
    PutBE16(p, static_cast<uint16_t>(loop.playMode));
    PutBE16(p + 2, loop.beginMarker);
    PutBE16(p + 4, loop.endMarker);
}

// Reads from the media without leaving the chunk's payload.
class PayloadCursor {
public:
    PayloadCursor(CMedia& media, uint32_t size) : media_(media), left_(size) {}
    void Read(uint32_t count, void* buffer)
    {
        if (count > left_)
            throw XBadFormat();
        media_.Read(static_cast<int32_t>(count), buffer);
        left_ -= count;
    }
    uint32_t Left() const { return left_; }

private:
    CMedia& media_;
    uint32_t left_;
};

} // namespace

AIFFInstrument AIFFInstrument::Decode(const uint8_t bytes[kSize])
{
    AIFFInstrument inst;
    inst.baseNote = bytes[0];
    inst.detune = static_cast<int8_t>(bytes[1]);
    inst.lowNote = bytes[2];
    inst.highNote = bytes[3];
    inst.lowVelocity = bytes[4];
    inst.highVelocity = bytes[5];
    inst.gain = static_cast<int16_t>(GetBE16(bytes + 6));
    inst.sustain = DecodeLoop(bytes + 8);
    inst.release = DecodeLoop(bytes + 14);
    return inst;
}

void AIFFInstrument::Encode(uint8_t bytes[kSize]) const
{
    bytes[0] = baseNote;
    bytes[1] = static_cast<uint8_t>(detune);
    bytes[2] = lowNote;
    bytes[3] = highNote;
    bytes[4] = lowVelocity;
    bytes[5] = highVelocity;
    PutBE16(bytes + 6, static_cast<uint16_t>(gain));
    EncodeLoop(sustain, bytes + 8);
    EncodeLoop(release, bytes + 14);
}

std::vector<AIFFMarker> ReadMarkers(CMedia& media, uint32_t size)
{
    PayloadCursor in(media, size);
    uint8_t countBytes[2];
    in.Read(2, countBytes);
    const uint16_t count = GetBE16(countBytes);
    std::vector<AIFFMarker> markers;
    for (uint16_t i = 0; i < count; ++i) {
        uint8_t fixed[7]; // id, position, name length
        in.Read(sizeof fixed, fixed);
        AIFFMarker marker;
        marker.id = GetBE16(fixed);
        marker.position = static_cast<int32_t>(GetBE32(fixed + 2));
        const uint8_t length = fixed[6];
        char name[256];
        in.Read(length, name);
        // Length byte + text odd: a pad follows. Tolerated when missing at
        // the very end, where it changes nothing.
        if ((length & 1) == 0 && in.Left() > 0) {
            uint8_t pad;
            in.Read(1, &pad);
        }
        marker.name = length ? std::string(name, length) : std::string(AIFFMarker::kUnnamed);
        markers.push_back(std::move(marker));
    }
    return markers;
}

std::vector<uint8_t> EncodeMarkers(const std::vector<AIFFMarker>& markers)
{
    std::vector<uint8_t> out(2);
    PutBE16(out.data(), static_cast<uint16_t>(std::min<size_t>(markers.size(), 0xFFFF)));
    for (size_t i = 0; i < markers.size() && i < 0xFFFF; ++i) {
        const AIFFMarker& m = markers[i];
        const size_t length = std::min<size_t>(m.name.size(), 255);
        uint8_t fixed[7];
        PutBE16(fixed, m.id);
        PutBE32(fixed + 2, static_cast<uint32_t>(m.position));
        fixed[6] = static_cast<uint8_t>(length);
        out.insert(out.end(), fixed, fixed + 7);
        out.insert(out.end(), m.name.begin(), m.name.begin() + static_cast<std::ptrdiff_t>(length));
        if ((length & 1) == 0)
            out.push_back(0);
    }
    return out;
}

} // namespace quorvel
