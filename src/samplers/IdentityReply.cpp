#include "samplers/IdentityReply.h"

#include "devices/midi/RawSysex.h"

namespace quorvel {

namespace {

constexpr uint8_t kUniversalNonRealTime = 0x7E;
constexpr uint8_t kGeneralInformation = 0x06;
constexpr uint8_t kIdentityRequest = 0x01;
constexpr uint8_t kIdentityReply = 0x02;
constexpr int32_t kReplyLength = 15;

uint16_t SevenBitPair(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 7)); }

} // namespace

std::vector<uint8_t> IdentityRequest(uint8_t deviceNumber)
{
    return {0xF0, kUniversalNonRealTime, static_cast<uint8_t>(deviceNumber & 0x7F), kGeneralInformation,
            kIdentityRequest, 0xF7};
}

std::optional<SIdentityReply> ReadIdentityReply(const CRawSysex& message)
{
    if (message.GetLength() != kReplyLength || !message.IsWellFormed())
        return std::nullopt;
    const uint8_t* bytes = message.GetData();
    if (bytes[1] != kUniversalNonRealTime || bytes[3] != kGeneralInformation || bytes[4] != kIdentityReply)
        return std::nullopt;
    SIdentityReply reply;
    reply.deviceNumber = bytes[2];
    reply.manufacturer = bytes[5];
    reply.family = SevenBitPair(bytes + 6);
    reply.member = SevenBitPair(bytes + 8);
    for (size_t i = 0; i < reply.version.size(); ++i)
        reply.version[i] = bytes[10 + i];
    return reply;
}

} // namespace quorvel
