#pragma once
// The MIDI Universal Identity Request and its reply, which several brands
// answer with their manufacturer, family, member and software version.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quorvel {

class CRawSysex;

// F0 7E dd 06 01 F7.
std::vector<uint8_t> IdentityRequest(uint8_t deviceNumber);

struct SIdentityReply {
    uint8_t deviceNumber = 0;
    uint8_t manufacturer = 0;
    uint16_t family = 0; // two 7-bit bytes, least significant first
    uint16_t member = 0;
    std::array<uint8_t, 4> version{};
};

// F0 7E dd 06 02, manufacturer, family (2), member (2), version (4), F7:
// 15 bytes exactly. Null for anything else (including the three-byte
// manufacturer ids, which no sampler of the table uses).
std::optional<SIdentityReply> ReadIdentityReply(const CRawSysex& message);

} // namespace quorvel
