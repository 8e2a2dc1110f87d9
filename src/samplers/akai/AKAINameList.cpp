#include "samplers/akai/AKAINameList.h"

#include "devices/midi/MIDIExceptions.h"
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"

namespace quorvel::akai {

void CAKAINameList::FromMessage(const CRawSysex& message, uint8_t operation)
{
    CheckAKAI(message);
    if (Operation(message) != operation)
        throw XAKAIUnexpectedCommand();
    message.RequireLength(8);
    const uint8_t* in = message.GetData();
    const uint16_t count = Get14(in + 5);
    if (message.GetLength() != 8 + count * kNameLength)
        throw XSysexInvalidSize();
    names_.clear();
    for (uint16_t i = 0; i < count; ++i) {
        std::string name = DecodeName(in + 7 + i * kNameLength);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        names_.push_back(name);
    }
}

CRawSysex CAKAINameList::ToMessage(uint8_t channel, uint8_t operation) const
{
    CRawSysex message(8 + static_cast<int32_t>(names_.size()) * kNameLength);
    uint8_t* out = message.GetData();
    out[0] = 0xF0;
    out[1] = kManufacturer;
    out[2] = channel & 0x7F;
    out[3] = operation;
    out[4] = kModel;
    Put14(out + 5, static_cast<uint32_t>(names_.size()));
    for (size_t i = 0; i < names_.size(); ++i)
        EncodeName(names_[i], out + 7 + i * kNameLength);
    out[message.GetLength() - 1] = 0xF7;
    return message;
}

int32_t CAKAINameList::Find(const std::string& name) const
{
    const std::string wanted = AKAIName(name);
    for (size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == wanted)
            return static_cast<int32_t>(i);
    return -1;
}

} // namespace quorvel::akai
