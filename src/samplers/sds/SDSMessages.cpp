#include "samplers/sds/SDSMessages.h"

#include <algorithm>
#include <cstring>

#include "devices/midi/SysexEncoding.h"
#include "samplers/SampleRates.h"
#include "samplers/sds/SDSExceptions.h"

namespace quorvel::sds {

int32_t BytesPerWord(uint32_t format)
{
    if (format <= 14)
        return 2;
    if (format <= 21)
        return 3;
    if (format <= kMaxFormat)
        return 4;
    return 0;
}

int32_t WordsPerPacket(uint32_t format)
{
    const int32_t bytes = BytesPerWord(format);
    return bytes ? kPacketDataBytes / bytes : 0;
}

CRawSysex BuildHeader(uint8_t channel, const SDumpHeader& header)
{
    CRawSysex message(kHeaderLength);
    uint8_t* d = message.GetData();
    d[0] = 0xF0;
    d[1] = kUniversalNonRealTime;
    d[2] = channel & 0x7F;
    d[3] = kDumpHeader;
    EncodeLittleEndian7x2(d + 4, header.sampleNumber);
    d[6] = header.format & 0x7F;
    EncodeLittleEndian7x3(d + 7, header.period);
    EncodeLittleEndian7x3(d + 10, header.length);
    EncodeLittleEndian7x3(d + 13, header.loopStart);
    EncodeLittleEndian7x3(d + 16, header.loopEnd);
    d[19] = header.loopType & 0x7F;
    d[20] = 0xF7;
    return message;
}

SDumpHeader ParseHeader(const CRawSysex& message)
{
    const uint8_t* d = message.GetData();
    SDumpHeader header;
    header.sampleNumber = static_cast<uint16_t>(DecodeLittleEndian7x2(d + 4));
    header.format = d[6];
    header.period = DecodeLittleEndian7x3(d + 7);
    header.length = DecodeLittleEndian7x3(d + 10);
    header.loopStart = DecodeLittleEndian7x3(d + 13);
    header.loopEnd = DecodeLittleEndian7x3(d + 16);
    header.loopType = d[19];
    return header;
}

CRawSysex BuildRequest(uint8_t channel, uint16_t sampleNumber)
{
    CRawSysex message(kRequestLength);
    uint8_t* d = message.GetData();
    d[0] = 0xF0;
    d[1] = kUniversalNonRealTime;
    d[2] = channel & 0x7F;
    d[3] = kDumpRequest;
    EncodeLittleEndian7x2(d + 4, sampleNumber);
    d[6] = 0xF7;
    return message;
}

CRawSysex BuildHandshake(uint8_t channel, uint8_t type, uint8_t packetNumber)
{
    return CRawSysex{0xF0, kUniversalNonRealTime, static_cast<uint8_t>(channel & 0x7F), type,
                     static_cast<uint8_t>(packetNumber & 0x7F), 0xF7};
}

uint8_t PacketChecksum(const uint8_t* packet)
{
    uint8_t sum = 0;
    for (int32_t i = 1; i < kPacketDataOffset + kPacketDataBytes; ++i)
        sum ^= packet[i];
    return sum & 0x7F;
}

namespace {

void EncodeWord(uint32_t format, const void* samples, int32_t index, uint8_t* out)
{
    if (format <= 16) {
        // Offset binary: the most negative value is all zeros.
        const uint32_t v = static_cast<uint16_t>(static_cast<const int16_t*>(samples)[index] + 0x8000);
        out[0] = static_cast<uint8_t>((v >> 9) & 0x7F);
        out[1] = static_cast<uint8_t>((v >> 2) & 0x7F);
        if (format >= 15)
            out[2] = static_cast<uint8_t>((v & 3) << 5);
        return;
    }
    const uint32_t v = static_cast<uint32_t>(static_cast<const int32_t*>(samples)[index]) + 0x80000000u;
    out[0] = static_cast<uint8_t>((v >> 25) & 0x7F);
    out[1] = static_cast<uint8_t>((v >> 18) & 0x7F);
    out[2] = static_cast<uint8_t>((v >> 11) & 0x7F);
    if (format >= 22)
        out[3] = static_cast<uint8_t>((v >> 4) & 0x7F);
}

void DecodeWord(uint32_t format, const uint8_t* in, int32_t index, void* samples)
{
    if (format <= 16) {
        uint32_t v = (uint32_t(in[0]) * 128 + in[1]) * 4;
        if (format >= 15)
            v += in[2] >> 5;
        static_cast<int16_t*>(samples)[index] = static_cast<int16_t>(static_cast<int32_t>(v) - 0x8000);
        return;
    }
    uint32_t v = (uint32_t(in[0]) * 128 + in[1]) * 128 + in[2];
    v = format >= 22 ? (v * 128 + in[3]) * 16 : v * 2048;
    static_cast<int32_t*>(samples)[index] = static_cast<int32_t>(v - 0x80000000u);
}

} // namespace

std::unique_ptr<CRawSysex> BuildPacket(uint8_t channel, uint8_t packetNumber, uint32_t format, const void* samples,
                                       int32_t words)
{
    auto message = std::make_unique<CRawSysex>(kPacketLength);
    uint8_t* d = message->GetData();
    d[0] = 0xF0;
    d[1] = kUniversalNonRealTime;
    d[2] = channel & 0x7F;
    d[3] = kDataPacket;
    d[4] = packetNumber & 0x7F;
    const int32_t bytes = BytesPerWord(format);
    words = std::clamp(words, 0, WordsPerPacket(format));
    for (int32_t i = 0; i < words; ++i)
        EncodeWord(format, samples, i, d + kPacketDataOffset + i * bytes);
    d[kPacketLength - 2] = PacketChecksum(d);
    d[kPacketLength - 1] = 0xF7;
    return message;
}

void DecodePacket(const uint8_t* packet, uint32_t format, int32_t words, void* samples)
{
    const int32_t bytes = BytesPerWord(format);
    words = std::clamp(words, 0, WordsPerPacket(format));
    for (int32_t i = 0; i < words; ++i)
        DecodeWord(format, packet + kPacketDataOffset + i * bytes, i, samples);
}

bool IsHandshake(const CRawSysex& message)
{
    const uint8_t* d = message.GetData();
    return message.GetLength() == kHandshakeLength && d[1] == kUniversalNonRealTime && d[3] >= kWait &&
           d[3] <= kAck;
}

bool IsHeader(const CRawSysex& message)
{
    return message.GetLength() == kHeaderLength && message.GetData()[1] == kUniversalNonRealTime &&
           message.GetData()[3] == kDumpHeader;
}

bool IsPacket(const CRawSysex& message)
{
    return message.GetLength() == kPacketLength && message.GetData()[1] == kUniversalNonRealTime &&
           message.GetData()[3] == kDataPacket;
}

SDumpHeader HeaderFromInfo(const SampleInfo& info, uint16_t sampleNumber)
{
    SDumpHeader header;
    header.sampleNumber = sampleNumber & 0x3FFF;
    header.format = std::clamp<uint8_t>(info.bits, kMinFormat, kMaxFormat);
    // A rate of 0 has no period; it gets the longest one the header holds.
    uint32_t period = info.rate ? 1000000000u / info.rate : kMaxPeriod;
    header.period = std::clamp<uint32_t>(period, 1, kMaxPeriod);
    header.length = info.length;
    const SSampleLoop& loop = info.sustainLoop;
    switch (static_cast<SampleLoopType>(loop.type)) {
    case SampleLoopType::OffWithMarker:
        header.loopStart = header.loopEnd = loop.end;
        header.loopType = kLoopOff;
        break;
    case SampleLoopType::Forward:
        header.loopStart = loop.start;
        header.loopEnd = loop.end;
        header.loopType = kLoopForward;
        break;
    case SampleLoopType::Alternating:
        header.loopStart = loop.start;
        header.loopEnd = loop.end;
        header.loopType = kLoopAlternating;
        break;
    default:
        header.loopStart = header.loopEnd = info.length;
        header.loopType = kLoopOff;
        break;
    }
    return header;
}

SampleInfo InfoFromHeader(const SDumpHeader& header)
{
    SampleInfo info;
    info.channelCount = 1;
    info.bits = header.format;
    info.rate = SnapToCommonRate(1000000000u / std::max<uint32_t>(header.period, 1));
    info.length = info.playEnd = header.length;
    info.playStart = 0;
    if (header.loopStart > header.loopEnd) {
        info.sustainLoop = {};
    } else {
        const uint32_t type = header.loopType == kLoopForward       ? uint32_t(SampleLoopType::Forward)
                              : header.loopType == kLoopAlternating ? uint32_t(SampleLoopType::Alternating)
                                                                    : uint32_t(SampleLoopType::OffWithMarker);
        info.sustainLoop = {type, header.loopStart, header.loopEnd};
    }
    info.rootKey = SampleInfo::kDefaultRootKey;
    info.fineTuning = 0;
    return info;
}

} // namespace quorvel::sds
