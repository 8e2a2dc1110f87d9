#include "devices/emulated/SDSSample.h"

#include <cstring>

namespace quorvel {

namespace {

// Numbers in headers go out least significant 7 bits first.
void Put7(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>((value >> (7 * i)) & 0x7F));
}

uint32_t Get7(const uint8_t* in, int bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint32_t>(in[i] & 0x7F) << (7 * i);
    return value;
}

} // namespace

std::vector<uint8_t> SDSDumpHeader(const SSDSSample& sample, uint8_t device)
{
    std::vector<uint8_t> header = {0xF0, 0x7E, device, 0x01};
    Put7(header, sample.number, 2);
    header.push_back(sample.format);
    Put7(header, sample.periodNs, 3);
    Put7(header, static_cast<uint32_t>(sample.words.size()), 3);
    Put7(header, sample.loopStart, 3);
    Put7(header, sample.loopEnd, 3);
    header.push_back(sample.loopType & 0x7F);
    header.push_back(0xF7);
    return header;
}

bool ParseSDSDumpHeader(const std::vector<uint8_t>& message, SSDSSample& sample, uint32_t& length)
{
    if (message.size() != 21 || message[0] != 0xF0 || message[1] != 0x7E || message[3] != 0x01 ||
        message[20] != 0xF7)
        return false;
    const uint8_t* m = message.data();
    sample.number = static_cast<uint16_t>(Get7(m + 4, 2));
    sample.format = m[6];
    sample.periodNs = Get7(m + 7, 3);
    length = Get7(m + 10, 3);
    sample.loopStart = Get7(m + 13, 3);
    sample.loopEnd = Get7(m + 16, 3);
    sample.loopType = m[19];
    sample.words.clear();
    return true;
}

void PackSDSWords(int format, const uint32_t* words, int count, uint8_t* dest)
{
    std::memset(dest, 0, 120);
    const int bytesPerWord = SDSBytesPerWord(format);
    const int shift = bytesPerWord * 7 - format;
    const uint32_t mask = format >= 32 ? 0xFFFFFFFFu : (1u << format) - 1;
    for (int w = 0; w < count; ++w) {
        const uint32_t justified = (words[w] & mask) << shift;
        for (int b = 0; b < bytesPerWord; ++b)
            dest[w * bytesPerWord + b] = static_cast<uint8_t>((justified >> (7 * (bytesPerWord - 1 - b))) & 0x7F);
    }
}

void UnpackSDSWords(int format, const uint8_t* src, int count, uint32_t* words)
{
    const int bytesPerWord = SDSBytesPerWord(format);
    const int shift = bytesPerWord * 7 - format;
    for (int w = 0; w < count; ++w) {
        uint32_t justified = 0;
        for (int b = 0; b < bytesPerWord; ++b)
            justified = (justified << 7) | (src[w * bytesPerWord + b] & 0x7F);
        words[w] = justified >> shift;
    }
}

uint8_t SDSPacketChecksum(const uint8_t* packet)
{
    uint8_t sum = 0;
    for (int i = 1; i <= 124; ++i)
        sum ^= packet[i];
    return sum & 0x7F;
}

SSDSPacketCheck CheckSDSPacket(const std::vector<uint8_t>& packet, uint32_t expected)
{
    if (packet.size() != 127)
        return {ESDSPacketCheck::kNak, static_cast<uint8_t>(expected)};
    const uint8_t number = packet[4];
    if (SDSPacketChecksum(packet.data()) != packet[125])
        return {ESDSPacketCheck::kNak, number};
    if (number != (expected & 0x7F)) {
        const bool repeated = expected > 0 && number == ((expected - 1) & 0x7F);
        return {repeated ? ESDSPacketCheck::kAck : ESDSPacketCheck::kNak, number};
    }
    return {ESDSPacketCheck::kTake, number};
}

} // namespace quorvel
