#include "devices/emulated/SMDIMessage.h"

#include <cstring>

namespace quorvel {

bool ParseSMDIMessage(const uint8_t* bytes, size_t length, SSMDIMessage& message)
{
    if (length < kSMDIHeaderBytes || std::memcmp(bytes, "SMDI", 4) != 0)
        return false;
    if (GetBigEndian(bytes + 8, 3) != length - kSMDIHeaderBytes)
        return false;
    message.code = GetBigEndian(bytes + 4, 4);
    message.data = SMDIView(bytes + kSMDIHeaderBytes, length - kSMDIHeaderBytes);
    return true;
}

SMDIBytes BuildSMDIDataPacket(uint32_t number, SMDIView data)
{
    SMDIBytes out = {'S', 'M', 'D', 'I'};
    out.reserve(kSMDIHeaderBytes + 3 + data.size());
    PutBigEndian(out, kSMDIDataPacket, 4);
    PutBigEndian(out, static_cast<uint32_t>(3 + data.size()), 3);
    PutBigEndian(out, number, 3);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

SMDIBytes BuildSMDIMessage(uint32_t code, SMDIView data)
{
    SMDIBytes out = {'S', 'M', 'D', 'I'};
    out.reserve(kSMDIHeaderBytes + data.size());
    PutBigEndian(out, code, 4);
    PutBigEndian(out, static_cast<uint32_t>(data.size()), 3);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

void PutBigEndian(SMDIBytes& out, uint32_t value, int width)
{
    for (int i = width - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t GetBigEndian(const uint8_t* in, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = value << 8 | in[i];
    return value;
}

SMDIBytes RejectMessage(uint16_t code, uint16_t subCode)
{
    SMDIBytes data;
    PutBigEndian(data, code, 2);
    PutBigEndian(data, subCode, 2);
    return BuildSMDIMessage(kSMDIMessageReject, data);
}

} // namespace quorvel
