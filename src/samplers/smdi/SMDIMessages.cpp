#include "samplers/smdi/SMDIMessages.h"

#include <algorithm>
#include <cstring>

#include "samplers/smdi/SMDIExceptions.h"

namespace quorvel::smdi {

namespace {

constexpr char kTag[4] = {'S', 'M', 'D', 'I'};

} // namespace

void PutBigEndian(uint8_t* out, uint32_t value, size_t bytes)
{
    for (size_t i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * (bytes - 1 - i)));
}

uint32_t GetBigEndian(const uint8_t* in, size_t bytes)
{
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i)
        value = (value << 8) | in[i];
    return value;
}

CSMDIMessage::CSMDIMessage(std::vector<uint8_t> bytes) : bytes_(std::move(bytes))
{
    if (bytes_.size() < kHeaderSize || std::memcmp(bytes_.data(), kTag, sizeof kTag) != 0)
        throw XSMDIMessageInvalid();
    code_ = GetBigEndian(bytes_.data() + 4, 4);
    dataLength_ = GetBigEndian(bytes_.data() + 8, 3);
    // Whatever lies past the announced message is not part of it.
    bytes_.resize(std::min<size_t>(bytes_.size(), kHeaderSize + dataLength_));
}

std::span<const uint8_t> CSMDIMessage::Data() const
{
    return std::span<const uint8_t>(bytes_).subspan(kHeaderSize);
}

void PutHeader(uint8_t* out, EMessage message, uint32_t dataLength)
{
    std::memcpy(out, kTag, sizeof kTag);
    PutBigEndian(out + 4, message, 4);
    PutBigEndian(out + 8, dataLength, 3);
}

std::vector<uint8_t> BuildMessage(EMessage message, std::span<const uint8_t> data)
{
    std::vector<uint8_t> bytes(kHeaderSize + data.size());
    PutHeader(bytes.data(), message, static_cast<uint32_t>(data.size()));
    std::copy(data.begin(), data.end(), bytes.begin() + kHeaderSize);
    return bytes;
}

std::vector<uint8_t> BuildNumberMessage(EMessage message, uint32_t number)
{
    uint8_t data[3];
    PutBigEndian(data, number, 3);
    return BuildMessage(message, data);
}

std::vector<uint8_t> BuildBeginTransfer(EMessage message, uint32_t sampleNumber, uint32_t packetLength)
{
    uint8_t data[6];
    PutBigEndian(data, sampleNumber, 3);
    PutBigEndian(data + 3, packetLength, 3);
    return BuildMessage(message, data);
}

std::vector<uint8_t> BuildMessageReject(uint16_t code, uint16_t subCode)
{
    uint8_t data[4];
    PutBigEndian(data, code, 2);
    PutBigEndian(data + 2, subCode, 2);
    return BuildMessage(kMessageReject, data);
}

uint32_t PacketNumber(const CSMDIMessage& message)
{
    if (message.DataLength() < kPacketNumberSize || message.Data().size() < kPacketNumberSize)
        throw XSMDIUnexpectedMessage();
    return GetBigEndian(message.Data().data(), kPacketNumberSize);
}

SBeginTransfer ParseBeginTransfer(const CSMDIMessage& message)
{
    if (message.DataLength() != 6 || !message.IsComplete())
        throw XSMDIUnexpectedMessage();
    const uint8_t* d = message.Data().data();
    return {GetBigEndian(d, 3), GetBigEndian(d + 3, 3)};
}

void EncodeWords(uint32_t bits, const int16_t* narrow, const int32_t* wide, size_t count, uint8_t* out)
{
    const uint32_t bytes = WordBytes(bits);
    if (bits <= 16 && bytes == 2) {
        // The common case, in a loop the compiler can vectorise.
        for (size_t i = 0; i < count; ++i) {
            const uint16_t word = __builtin_bswap16(static_cast<uint16_t>(narrow[i]));
            std::memcpy(out + 2 * i, &word, 2);
        }
        return;
    }
    for (size_t i = 0; i < count; ++i, out += bytes) {
        if (bits <= 16)
            out[0] = static_cast<uint8_t>(static_cast<uint16_t>(narrow[i]) >> 8);
        else
            PutBigEndian(out, static_cast<uint32_t>(wide[i]) >> (8 * (4 - bytes)), bytes);
    }
}

void DecodeWords(uint32_t bits, const uint8_t* in, size_t count, int16_t* narrow, int32_t* wide)
{
    const uint32_t bytes = WordBytes(bits);
    if (bits <= 16 && bytes == 2) {
        for (size_t i = 0; i < count; ++i) {
            uint16_t word;
            std::memcpy(&word, in + 2 * i, 2);
            narrow[i] = static_cast<int16_t>(__builtin_bswap16(word));
        }
        return;
    }
    for (size_t i = 0; i < count; ++i, in += bytes) {
        if (bits <= 16)
            narrow[i] = static_cast<int16_t>(uint32_t(in[0]) << 8);
        else
            wide[i] = static_cast<int32_t>(GetBigEndian(in, bytes) << (8 * (4 - bytes)));
    }
}

} // namespace quorvel::smdi
