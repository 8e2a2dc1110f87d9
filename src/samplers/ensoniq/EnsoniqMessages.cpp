#include "samplers/ensoniq/EnsoniqMessages.h"

#include "samplers/ensoniq/EnsoniqEncoding.h"

namespace quorvel::ensoniq {

namespace {

// Header and command byte in place, F7 at the end.
CRawSysex Framed(const SHeader& header, int32_t length, int command = -1)
{
    CRawSysex message(length);
    uint8_t* bytes = message.GetData();
    bytes[0] = 0xF0;
    bytes[1] = kManufacturer;
    bytes[2] = header.product;
    bytes[3] = header.channel;
    if (command >= 0)
        bytes[4] = static_cast<uint8_t>(command);
    bytes[length - 1] = 0xF7;
    return message;
}

void PutAddress(uint8_t* dest, const SAddress& address)
{
    Encode12(address.instrument, dest);
    Encode12(address.layer, dest + 2);
    Encode12(address.wave, dest + 4);
}

} // namespace

CRawSysex ResponseMessage(const SHeader& header, uint32_t status)
{
    CRawSysex message = Framed(header, kResponseLength, kResponse);
    Encode12(status, message.GetData() + 5);
    return message;
}

CRawSysex CancelMessage(const SHeader& header) { return Framed(header, kCancelLength, kCancel); }

CRawSysex AddressMessage(const SHeader& header, uint8_t command, const SAddress& address)
{
    CRawSysex message = Framed(header, kAddressLength, command);
    PutAddress(message.GetData() + 5, address);
    return message;
}

CRawSysex RangeMessage(const SHeader& header, uint8_t command, const SAddress& address, uint32_t first,
                       uint32_t second)
{
    CRawSysex message = Framed(header, kRangeLength, command);
    PutAddress(message.GetData() + 5, address);
    Encode24(first, message.GetData() + 11);
    Encode24(second, message.GetData() + 15);
    return message;
}

CRawSysex ValueMessage(const SHeader& header, uint32_t value)
{
    CRawSysex message = Framed(header, kValueLength, kValue);
    Encode12(value, message.GetData() + 5);
    return message;
}

CRawSysex WaveDataMessage(const SHeader& header, const int16_t* words, uint32_t count)
{
    CRawSysex message = Framed(header, WaveDataLength(count));
    uint8_t* at = message.GetData() + kHeaderLength;
    for (uint32_t k = 0; k < count; ++k, at += kBytesPerWord)
        EncodeWord(words[k], at);
    return message;
}

CRawSysex BlockMessage(const SHeader& header, const std::vector<uint8_t>& block)
{
    CRawSysex message = Framed(header, static_cast<int32_t>(block.size()) + kHeaderLength + 1);
    std::copy(block.begin(), block.end(), message.GetData() + kHeaderLength);
    return message;
}

bool IsFor(const SHeader& header, const CRawSysex& message)
{
    const uint8_t* bytes = message.GetData();
    return message.GetLength() >= kHeaderLength + 1 && bytes[0] == 0xF0 && bytes[1] == kManufacturer &&
           bytes[2] == header.product && bytes[3] == header.channel;
}

SAddress AddressOf(const CRawSysex& message)
{
    const uint8_t* bytes = message.GetData();
    return {Decode12(bytes + 5), Decode12(bytes + 7), Decode12(bytes + 9)};
}

std::vector<uint8_t> BodyOf(const CRawSysex& message)
{
    const uint8_t* bytes = message.GetData();
    return std::vector<uint8_t>(bytes + kHeaderLength, bytes + message.GetLength() - 1);
}

} // namespace quorvel::ensoniq
