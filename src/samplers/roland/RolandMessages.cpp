#include "samplers/roland/RolandMessages.h"

#include <algorithm>

#include "devices/midi/SysexEncoding.h"
#include "samplers/roland/RolandExceptions.h"

namespace quorvel::roland {

namespace {

constexpr int32_t kAddressBytes = 4;

void PutHeader(CRawSysex& message, const SRolandDevice& to, uint8_t command)
{
    uint8_t* bytes = message.GetData();
    bytes[0] = 0xF0;
    bytes[1] = kManufacturer;
    bytes[2] = to.device;
    bytes[3] = to.model;
    bytes[kCommandOffset] = command;
    bytes[message.GetLength() - 1] = 0xF7;
}

// The checksum over everything between the command byte and the checksum.
void PutChecksum(CRawSysex& message)
{
    uint8_t* bytes = message.GetData();
    const int32_t at = message.GetLength() - 2;
    bytes[at] = Checksum7Negated(at - kBodyOffset, bytes + kBodyOffset);
}

} // namespace

CRawSysex BuildAddressed(const SRolandDevice& to, uint8_t command, uint32_t address, std::span<const uint8_t> data)
{
    CRawSysex message(kAddressedOverhead + static_cast<int32_t>(data.size()));
    PutHeader(message, to, command);
    EncodeBigEndian7(address, kAddressBytes, message.GetData() + kBodyOffset);
    std::copy(data.begin(), data.end(), message.GetData() + kBodyOffset + kAddressBytes);
    PutChecksum(message);
    return message;
}

CRawSysex BuildSized(const SRolandDevice& to, uint8_t command, uint32_t address, uint32_t size)
{
    CRawSysex message(kSizedLength);
    PutHeader(message, to, command);
    EncodeBigEndian7(address, kAddressBytes, message.GetData() + kBodyOffset);
    EncodeBigEndian7(size, kAddressBytes, message.GetData() + kBodyOffset + kAddressBytes);
    PutChecksum(message);
    return message;
}

CRawSysex BuildBare(const SRolandDevice& to, uint8_t command)
{
    CRawSysex message(kShortestReply);
    PutHeader(message, to, command);
    return message;
}

void RequireCommand(const CRawSysex& reply, uint8_t command)
{
    reply.RequireLength(kShortestReply);
    const uint8_t got = reply.GetData()[kCommandOffset];
    if (got == command)
        return;
    if (got == kError)
        throw XSysexCommunicationException();
    if (got == kRejection)
        throw XRolandRejectException();
    throw XRolandUnexpectedCommand();
}

uint32_t MessageAddress(const CRawSysex& message)
{
    message.RequireLength(kBodyOffset + kAddressBytes);
    return DecodeBigEndian7(kAddressBytes, message.GetData() + kBodyOffset);
}

std::span<const uint8_t> AddressedData(const CRawSysex& reply, uint8_t command, uint32_t address,
                                       int32_t capacity)
{
    RequireCommand(reply, command);
    reply.RequireLength(kAddressedOverhead);
    if (MessageAddress(reply) != address)
        throw XRolandUnexpectedAddress();
    const int32_t length = reply.GetLength();
    const int32_t count = length - kAddressedOverhead;
    if (count > capacity)
        throw XSysexTooBig();
    const uint8_t* bytes = reply.GetData();
    const int32_t at = length - 2;
    if (bytes[at] != Checksum7Negated(at - kBodyOffset, bytes + kBodyOffset))
        throw XSysexChecksumFailure();
    return {bytes + kBodyOffset + kAddressBytes, static_cast<size_t>(count)};
}

} // namespace quorvel::roland
