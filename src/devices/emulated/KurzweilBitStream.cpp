#include "devices/emulated/KurzweilBitStream.h"

namespace quorvel {

std::vector<uint8_t> PackKurzweilBitStream(const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> wire;
    wire.reserve(KurzweilPackedSize(body.size()));
    uint32_t pending = 0; // bits not yet sent, right-aligned
    int pendingBits = 0;
    for (uint8_t byte : body) {
        pending = (pending << 8) | byte;
        pendingBits += 8;
        while (pendingBits >= 7) {
            pendingBits -= 7;
            wire.push_back(static_cast<uint8_t>((pending >> pendingBits) & 0x7F));
        }
        pending &= (1u << pendingBits) - 1;
    }
    if (pendingBits > 0)
        wire.push_back(static_cast<uint8_t>((pending << (7 - pendingBits)) & 0x7F));
    return wire;
}

std::vector<uint8_t> UnpackKurzweilBitStream(const uint8_t* wire, size_t count)
{
    std::vector<uint8_t> body;
    body.reserve(count * 7 / 8);
    uint32_t pending = 0;
    int pendingBits = 0;
    for (size_t i = 0; i < count; ++i) {
        pending = (pending << 7) | (wire[i] & 0x7F);
        pendingBits += 7;
        if (pendingBits >= 8) {
            pendingBits -= 8;
            body.push_back(static_cast<uint8_t>(pending >> pendingBits));
        }
        pending &= (1u << pendingBits) - 1;
    }
    return body;
}

uint8_t KurzweilChecksum(const uint8_t* wire, size_t count)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += wire[i];
    return static_cast<uint8_t>(sum & 0x7F);
}

} // namespace quorvel
