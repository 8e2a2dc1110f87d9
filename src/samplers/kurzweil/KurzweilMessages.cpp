#include "samplers/kurzweil/KurzweilMessages.h"

#include <algorithm>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/SysexEncoding.h"
#include "samplers/kurzweil/KurzweilBitStream.h"
#include "samplers/kurzweil/KurzweilExceptions.h"

namespace quorvel::kurzweil {

namespace {

constexpr size_t kMaxName = 16;

class CMessageBuilder {
public:
    CMessageBuilder(uint8_t device, uint8_t number) : bytes_{0xF0, kManufacturer, device, kModel, number} {}

    CMessageBuilder& Number(uint32_t value, int32_t count)
    {
        const size_t at = bytes_.size();
        bytes_.resize(at + static_cast<size_t>(count));
        EncodeBigEndian7(value, count, bytes_.data() + at);
        return *this;
    }
    CMessageBuilder& Byte(uint8_t value)
    {
        bytes_.push_back(static_cast<uint8_t>(value & 0x7F));
        return *this;
    }
    // Seven-bit characters and the terminating zero.
    CMessageBuilder& Name(const std::string& name)
    {
        for (char c : name.substr(0, kMaxName))
            bytes_.push_back(static_cast<uint8_t>(c & 0x7F));
        bytes_.push_back(0);
        return *this;
    }
    CMessageBuilder& Bytes(std::span<const uint8_t> data)
    {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    CRawSysex Done()
    {
        bytes_.push_back(0xF7);
        return CRawSysex(bytes_);
    }

private:
    std::vector<uint8_t> bytes_;
};

uint32_t Read7(const CRawSysex& message, size_t offset, int32_t count)
{
    return DecodeBigEndian7(count, message.GetData() + offset);
}

// The name from `offset` to its zero byte (or the message's end); `end`
// gets the offset after the terminator.
std::string NameAt(const CRawSysex& message, size_t offset, size_t& end)
{
    const uint8_t* data = message.GetData();
    const size_t last = static_cast<size_t>(message.GetLength()) - 1; // the F7
    std::string name;
    size_t i = offset;
    while (i < last && data[i] != 0)
        name.push_back(static_cast<char>(data[i++]));
    end = i < last ? i + 1 : last;
    if (name.size() > kMaxName)
        name.resize(kMaxName);
    return name;
}

} // namespace

CRawSysex BuildDescribe(uint8_t device, uint16_t type, uint16_t id)
{
    return CMessageBuilder(device, kDescribe).Number(type, 2).Number(id, 2).Done();
}

CRawSysex BuildDelete(uint8_t device, uint16_t type, uint16_t id)
{
    return CMessageBuilder(device, kDelete).Number(type, 2).Number(id, 2).Done();
}

CRawSysex BuildRename(uint8_t device, uint16_t type, uint16_t id, uint16_t newId, const std::string& name)
{
    return CMessageBuilder(device, kRename).Number(type, 2).Number(id, 2).Number(newId, 2).Name(name).Done();
}

CRawSysex BuildWrite(uint8_t device, uint16_t type, uint16_t id, uint32_t size, uint8_t flag,
                     const std::string& name, std::span<const uint8_t> body)
{
    const std::vector<uint8_t> packed = PackBitStream(body);
    return CMessageBuilder(device, kWrite)
        .Number(type, 2)
        .Number(id, 2)
        .Number(size, 3)
        .Byte(flag)
        .Name(name)
        .Byte(kBitStreamForm)
        .Bytes(packed)
        .Byte(Checksum7Sum(static_cast<int32_t>(packed.size()), packed.data()))
        .Done();
}

CRawSysex BuildRead(uint8_t device, uint16_t type, uint16_t id)
{
    return CMessageBuilder(device, kRead).Number(type, 2).Number(id, 2).Byte(kBitStreamForm).Done();
}

CRawSysex BuildList(uint8_t device, uint16_t type, uint8_t bank, uint8_t option)
{
    return CMessageBuilder(device, kList).Number(type, 2).Byte(bank).Byte(option).Done();
}

CRawSysex BuildAcknowledge(uint8_t device, uint16_t type, uint16_t id, uint32_t first, uint32_t second)
{
    return CMessageBuilder(device, kAcknowledge)
        .Number(type, 2)
        .Number(id, 2)
        .Number(first, 3)
        .Number(second, 3)
        .Done();
}

uint8_t MessageNumber(const CRawSysex& message)
{
    message.RequireLength(static_cast<int32_t>(kNumberOffset) + 2);
    return message.GetData()[kNumberOffset];
}

SKurzweilAcknowledge ParseAcknowledge(const CRawSysex& message)
{
    message.RequireLength(kAcknowledgeLength);
    SKurzweilAcknowledge ack;
    ack.type = static_cast<uint16_t>(Read7(message, kTypeOffset, 2));
    ack.id = static_cast<uint16_t>(Read7(message, kIdOffset, 2));
    ack.first = Read7(message, kFirstValueOffset, 3);
    ack.second = Read7(message, kSecondValueOffset, 3);
    return ack;
}

void ThrowRefusal(const CRawSysex& message)
{
    message.RequireLength(kRefuseLength);
    switch (message.GetData()[kErrorCodeOffset]) {
    case kObjectInEdit:
        throw XKurzweilObjectInEdit();
    case kBadChecksum:
        throw XSysexChecksumFailure();
    case kIdOutOfRange:
        throw XKurzweilIDOutOfRange();
    case kObjectNotFound:
        throw XKurzweilObjectNotFound();
    case kOutOfMemory:
        throw XKurzweilOutOfMemory();
    default:
        throw XKurzweilRejected();
    }
}

SKurzweilObjectRecord ParseDescription(const CRawSysex& message)
{
    message.RequireLength(kShortestReply);
    SKurzweilObjectRecord record;
    record.type = static_cast<uint16_t>(Read7(message, kTypeOffset, 2));
    record.id = static_cast<uint16_t>(Read7(message, kIdOffset, 2));
    record.size = Read7(message, kSizeOffset, 3);
    record.flag = message.GetData()[kFlagOffset] != 0 ? 1 : 0;
    size_t end = 0;
    record.name = NameAt(message, kNameOffset, end);
    return record;
}

SKurzweilWrittenObject ParseWrite(const CRawSysex& message)
{
    message.RequireLength(kShortestWrite);
    SKurzweilWrittenObject written;
    written.record = ParseDescription(message);
    size_t formAt = 0;
    NameAt(message, kNameOffset, formAt);
    const size_t length = static_cast<size_t>(message.GetLength());
    // The form, at least the checksum, and the F7 must follow the name.
    if (formAt + 3 > length)
        throw XSysexTooSmall();
    const uint8_t* data = message.GetData();
    if (data[formAt] != kBitStreamForm)
        throw XKurzweilNotBitStream();
    const std::span<const uint8_t> packed(data + formAt + 1, length - formAt - 3);
    if (Checksum7Sum(static_cast<int32_t>(packed.size()), packed.data()) != data[length - 2])
        throw XSysexChecksumFailure();
    std::vector<uint8_t> body = UnpackBitStream(packed);
    if (body.size() < written.record.size)
        throw XExternalDeviceCommunicationError();
    body.resize(written.record.size);
    written.body = std::move(body);
    return written;
}

} // namespace quorvel::kurzweil
