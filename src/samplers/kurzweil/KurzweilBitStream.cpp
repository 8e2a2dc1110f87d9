#include "samplers/kurzweil/KurzweilBitStream.h"

namespace quorvel::kurzweil {

size_t PackedLength(size_t bodyBytes) { return (8 * bodyBytes + 6) / 7; }

size_t UnpackedLength(size_t wireBytes) { return 7 * wireBytes / 8; }

std::vector<uint8_t> PackBitStream(std::span<const uint8_t> body)
{
    std::vector<uint8_t> wire;
    wire.reserve(PackedLength(body.size()));
    uint32_t bits = 0;
    int held = 0;
    for (uint8_t byte : body) {
        bits = (bits << 8) | byte;
        held += 8;
        while (held >= 7) {
            held -= 7;
            wire.push_back(static_cast<uint8_t>((bits >> held) & 0x7F));
        }
    }
    if (held > 0)
        wire.push_back(static_cast<uint8_t>((bits << (7 - held)) & 0x7F));
    return wire;
}

std::vector<uint8_t> UnpackBitStream(std::span<const uint8_t> wire)
{
    std::vector<uint8_t> body;
    body.reserve(UnpackedLength(wire.size()));
    uint32_t bits = 0;
    int held = 0;
    for (uint8_t group : wire) {
        bits = (bits << 7) | (group & 0x7F);
        held += 7;
        if (held >= 8) {
            held -= 8;
            body.push_back(static_cast<uint8_t>((bits >> held) & 0xFF));
        }
    }
    return body;
}

} // namespace quorvel::kurzweil
