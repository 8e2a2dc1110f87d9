#include "samplers/akai/AKAIProgram.h"

#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIMessages.h"

namespace quorvel::akai {

namespace {

std::string TrimmedName(const uint8_t* codes)
{
    std::string name = DecodeName(codes);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

} // namespace

std::string CABCAKAIProgramHeader::Name() const { return TrimmedName(Bytes().data() + kNameOffset); }
void CABCAKAIProgramHeader::SetName(const std::string& name) { EncodeName(name, Bytes().data() + kNameOffset); }

CRawSysex CABCAKAIProgramHeader::ToMessage(uint8_t channel) const
{
    return CAKAIDataBlock::ToMessage(channel, Generation() == EGeneration::S1000 ? kProgramHeader : kProgramBytes);
}

void CABCAKAIProgramHeader::FromMessage(const CRawSysex& message)
{
    CAKAIDataBlock::FromMessage(message, {kProgramHeader, kProgramBytes});
}

void CABCAKAIKeyGroup::SetKeySpan(uint8_t low, uint8_t high)
{
    Bytes()[kLowNoteOffset] = low;
    Bytes()[kHighNoteOffset] = high;
}

std::string CABCAKAIKeyGroup::ZoneSample(int32_t zone) const
{
    return TrimmedName(Bytes().data() + kFirstZoneOffset + zone * kZoneBytes);
}

void CABCAKAIKeyGroup::SetZoneSample(int32_t zone, const std::string& name)
{
    EncodeName(name, Bytes().data() + kFirstZoneOffset + zone * kZoneBytes);
}

CRawSysex CABCAKAIKeyGroup::ToMessage(uint8_t channel) const
{
    return CAKAIDataBlock::ToMessage(channel, Generation() == EGeneration::S1000 ? kKeyGroup : kKeyGroupBytes);
}

void CABCAKAIKeyGroup::FromMessage(const CRawSysex& message)
{
    CAKAIDataBlock::FromMessage(message, {kKeyGroup, kKeyGroupBytes});
}

std::unique_ptr<CABCAKAIProgramHeader> MakeProgramHeader(EGeneration generation)
{
    if (generation == EGeneration::S1000)
        return std::make_unique<CS1000ProgramHeader>();
    return std::make_unique<CS3000ProgramHeader>();
}

std::unique_ptr<CABCAKAIKeyGroup> MakeKeyGroup(EGeneration generation)
{
    if (generation == EGeneration::S1000)
        return std::make_unique<CS1000KeyGroup>();
    return std::make_unique<CS3000KeyGroup>();
}

} // namespace quorvel::akai
