#include "samplers/akai/AKAIMessages.h"

#include "devices/midi/MIDIExceptions.h"
#include "samplers/akai/AKAIExceptions.h"

namespace quorvel::akai {

void CheckAKAI(const CRawSysex& message)
{
    message.RequireLength(kHeaderBytes);
    if (!IsAKAI(message))
        throw XAKAINonAKAISysex();
}

bool IsAKAI(const CRawSysex& message)
{
    return message.GetLength() >= kHeaderBytes && message.GetData()[1] == kManufacturer &&
           message.GetData()[4] == kModel;
}

CRawSysex PlainRequest(uint8_t channel, uint8_t operation)
{
    return CRawSysex{0xF0, kManufacturer, static_cast<uint8_t>(channel & 0x7F), operation, kModel, 0xF7};
}

CRawSysex NumberedRequest(uint8_t channel, uint8_t operation, uint16_t number)
{
    CRawSysex message{0xF0, kManufacturer, static_cast<uint8_t>(channel & 0x7F), operation, kModel, 0, 0, 0xF7};
    Put14(message.GetData() + 5, number);
    return message;
}

CRawSysex NumberedRequest(uint8_t channel, uint8_t operation, uint16_t number, uint8_t parameter)
{
    CRawSysex message{0xF0, kManufacturer, static_cast<uint8_t>(channel & 0x7F), operation, kModel, 0, 0,
                      static_cast<uint8_t>(parameter & 0x7F), 0xF7};
    Put14(message.GetData() + 5, number);
    return message;
}

namespace {

void Put28(uint8_t* dest, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        dest[i] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    }
}

} // namespace

CRawSysex SamplePacketRequest(uint8_t channel, uint16_t sampleNumber, uint32_t start, uint32_t count)
{
    CRawSysex message(kPacketRequestLength);
    uint8_t* bytes = message.GetData();
    bytes[0] = 0xF0;
    bytes[1] = kManufacturer;
    bytes[2] = channel & 0x7F;
    bytes[3] = kRequestSamplePackets;
    bytes[4] = kModel;
    Put14(bytes + 5, sampleNumber);
    Put28(bytes + 7, start);
    Put28(bytes + 11, count);
    bytes[15] = 1; // every word
    bytes[16] = 0;
    bytes[17] = 0xF7;
    return message;
}

CRawSysex AcceptPackets(uint8_t channel, uint16_t sampleNumber, uint32_t start, uint32_t count)
{
    CRawSysex message(kAcceptPacketsLength);
    uint8_t* bytes = message.GetData();
    bytes[0] = 0xF0;
    bytes[1] = kManufacturer;
    bytes[2] = channel & 0x7F;
    bytes[3] = kAcceptSamplePackets;
    bytes[4] = kModel;
    Put14(bytes + 5, sampleNumber);
    Put28(bytes + 7, start);
    Put28(bytes + 11, count);
    bytes[15] = 0xF7;
    return message;
}

CRawSysex Reply(uint8_t channel, uint8_t result)
{
    return CRawSysex{0xF0, kManufacturer, static_cast<uint8_t>(channel & 0x7F), kReply, kModel,
                     static_cast<uint8_t>(result & 0x7F), 0xF7};
}

void EncodeNibbles(const uint8_t* data, int32_t count, uint8_t* dest)
{
    for (int32_t i = 0; i < count; ++i) {
        dest[2 * i] = data[i] & 0x0F;
        dest[2 * i + 1] = static_cast<uint8_t>(data[i] >> 4);
    }
}

void DecodeNibbles(const uint8_t* src, int32_t count, uint8_t* data)
{
    for (int32_t i = 0; i < count; ++i)
        data[i] = static_cast<uint8_t>((src[2 * i] & 0x0F) | ((src[2 * i + 1] & 0x0F) << 4));
}

void Put14(uint8_t* dest, uint32_t value)
{
    dest[0] = static_cast<uint8_t>(value & 0x7F);
    dest[1] = static_cast<uint8_t>((value >> 7) & 0x7F);
}

uint16_t Get14(const uint8_t* src) { return static_cast<uint16_t>((src[0] & 0x7F) | ((src[1] & 0x7F) << 7)); }

} // namespace quorvel::akai
