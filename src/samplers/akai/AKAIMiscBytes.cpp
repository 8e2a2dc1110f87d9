#include "samplers/akai/AKAIMiscBytes.h"

#include <algorithm>

#include "devices/midi/MIDIExceptions.h"
#include "samplers/akai/AKAIDataBlock.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"

namespace quorvel::akai {

namespace {

constexpr int32_t kIndexAt = 5;
constexpr int32_t kBankAt = 7;
constexpr int32_t kReservedAt = 8;
constexpr int32_t kCountAt = 10;

// The 12-byte frame naming `count` bytes, room for `dataBytes` of them, F7.
CRawSysex Frame(uint8_t channel, uint8_t operation, uint16_t index, uint8_t bank, int32_t count, int32_t dataBytes)
{
    CRawSysex message(kS3000FrameBytes + 2 * dataBytes + 1);
    uint8_t* out = message.GetData();
    out[0] = 0xF0;
    out[1] = kManufacturer;
    out[2] = channel & 0x7F;
    out[3] = operation;
    out[4] = kModel;
    Put14(out + kIndexAt, index);
    out[kBankAt] = bank & 0x7F;
    Put14(out + kReservedAt, 0);
    Put14(out + kCountAt, static_cast<uint32_t>(count));
    out[message.GetLength() - 1] = 0xF7;
    return message;
}

} // namespace

int32_t MiscBankBytes(uint8_t bank)
{
    static constexpr int32_t kWidths[] = {1, 2, 4, 5, 6, 12, 16};
    return bank >= 1 && bank <= 7 ? kWidths[bank - 1] : 0;
}

CRawSysex MiscBytesRequest(uint8_t channel, uint16_t index, EMiscBank bank)
{
    const uint8_t code = static_cast<uint8_t>(bank);
    return Frame(channel, kRequestMiscBytes, index, code, MiscBankBytes(code), 0);
}

CS3000MiscBytesReply::CS3000MiscBytesReply(uint16_t index, EMiscBank bank, std::vector<uint8_t> bytes)
    : index_(index), bank_(static_cast<uint8_t>(bank)), bytes_(std::move(bytes))
{
}

void CS3000MiscBytesReply::FromMessage(const CRawSysex& message)
{
    CheckAKAI(message);
    if (Operation(message) != kMiscBytes)
        throw XAKAIUnexpectedCommand();
    message.RequireLength(kS3000FrameBytes + 1);
    const uint8_t* in = message.GetData();
    const int32_t count = Get14(in + kCountAt);
    if (message.GetLength() != kS3000FrameBytes + 2 * count + 1)
        throw XSysexInvalidSize();
    if (count == 0 || Get14(in + kReservedAt) != 0)
        throw XAKAIInvalidFormat();
    const uint8_t* nibbles = in + kS3000FrameBytes;
    if (std::any_of(nibbles, nibbles + 2 * count, [](uint8_t n) { return n > 0x0F; }))
        throw XAKAIInvalidFormat();
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    DecodeNibbles(nibbles, count, bytes.data());
    index_ = Get14(in + kIndexAt);
    bank_ = in[kBankAt];
    bytes_ = std::move(bytes);
}

CRawSysex CS3000MiscBytesReply::ToMessage(uint8_t channel) const
{
    const int32_t count = static_cast<int32_t>(bytes_.size());
    CRawSysex message = Frame(channel, kMiscBytes, index_, bank_, count, count);
    EncodeNibbles(bytes_.data(), count, message.GetData() + kS3000FrameBytes);
    return message;
}

uint32_t CS3000MiscBytesReply::Value() const
{
    uint32_t value = 0;
    for (size_t i = std::min<size_t>(bytes_.size(), 4); i-- > 0;)
        value = (value << 8) | bytes_[i];
    return value;
}

} // namespace quorvel::akai
