#include "devices/emulated/RolandSysex.h"

namespace quorvel::roland {

uint8_t Checksum(const uint8_t* bytes, size_t count)
{
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>((128 - sum % 128) % 128);
}

bool ChecksumHolds(const std::vector<uint8_t>& message)
{
    if (message.size() < 7)
        return false;
    unsigned sum = 0;
    for (size_t i = 5; i + 1 < message.size(); ++i)
        sum += message[i];
    return sum % 128 == 0;
}

void PutNumber(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 21; shift >= 0; shift -= 7)
        out.push_back(static_cast<uint8_t>((value >> shift) & 0x7F));
}

uint32_t GetNumber(const uint8_t* bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 7 | (bytes[i] & 0x7F);
    return value;
}

std::vector<uint8_t> Message(uint8_t device, uint8_t model, uint8_t command, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> m;
    m.reserve(body.size() + 7);
    for (uint8_t byte : {uint8_t(0xF0), kManufacturer, device, model, command})
        m.push_back(byte);
    for (uint8_t byte : body)
        m.push_back(byte);
    if (!body.empty())
        m.push_back(Checksum(body.data(), body.size()));
    m.push_back(0xF7);
    return m;
}

std::vector<uint8_t> AddressAndSize(uint8_t device, uint8_t model, uint8_t command, uint32_t address,
                                    uint32_t size)
{
    std::vector<uint8_t> body;
    PutNumber(body, address);
    PutNumber(body, size);
    return Message(device, model, command, body);
}

std::vector<uint8_t> AddressAndData(uint8_t device, uint8_t model, uint8_t command, uint32_t address,
                                    const uint8_t* data, size_t count)
{
    std::vector<uint8_t> body;
    PutNumber(body, address);
    body.insert(body.end(), data, data + count);
    return Message(device, model, command, body);
}

std::vector<uint8_t> NibblePairs(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> out;
    out.reserve(bytes.size() * 2);
    for (uint8_t byte : bytes) {
        out.push_back(byte >> 4);
        out.push_back(byte & 0x0F);
    }
    return out;
}

std::vector<uint8_t> FromNibblePairs(const uint8_t* pairs, size_t byteCount)
{
    std::vector<uint8_t> out(byteCount);
    for (size_t i = 0; i < byteCount; ++i)
        out[i] = static_cast<uint8_t>((pairs[2 * i] & 0x0F) << 4 | (pairs[2 * i + 1] & 0x0F));
    return out;
}

} // namespace quorvel::roland
