#include "samplers/kurzweil/K2000Interface.h"

#include <cstring>

#include "samplers/SamplerExceptions.h"
#include "samplers/kurzweil/K2000SoundBlockReservation.h"
#include "samplers/kurzweil/K2000SoundBlock.h"

namespace quorvel {

namespace {

constexpr uint16_t kSoundBlockType = static_cast<uint16_t>(EKurzweilObjectType::SoundBlock);

// Names travel as 7-bit characters; anything else would arrive garbled.
std::string SamplerName(std::string_view name)
{
    std::string cut(name.substr(0, CABCK2000Interface::kNameLength));
    for (char& c : cut)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            c = '_';
    return cut;
}

} // namespace

uint16_t CheckedSoundBlockId(int32_t sampleNumber)
{
    if (sampleNumber < CABCK2000Interface::kLowestId || sampleNumber > CABCK2000Interface::kHighestId)
        throw XSampleDoesNotExist();
    return static_cast<uint16_t>(sampleNumber);
}

CABCK2000Interface::CABCK2000Interface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device)
    : connection_(MakeKurzweilConnection(input, output, device)), objects_(connection_)
{
}

void CABCK2000Interface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    CK2000SoundBlock block(CheckedSoundBlockId(sampleNumber));
    objects_.Read(block, CABCKurzweilObjectProtocol::kObjectTimeoutMs);
    info = block.ToSampleInfo();
}

std::unique_ptr<CABCSampleReceiver> CABCK2000Interface::CreateReceiver(int32_t sampleNumber)
{
    return MakeReceiver(CheckedSoundBlockId(sampleNumber));
}

std::unique_ptr<CABCSampleTransmitter> CABCK2000Interface::CreateMonoTransmitter(int32_t location)
{
    return MakeTransmitter(CK2000SoundBlockReservation::Reserve(objects_, location));
}

void CABCK2000Interface::DeleteSample(int32_t sampleNumber)
{
    objects_.Delete(kSoundBlockType, CheckedSoundBlockId(sampleNumber),
                    CABCKurzweilObjectProtocol::kSoundBlockDeleteTimeoutMs);
}

void CABCK2000Interface::AdaptSampleInfo(SampleInfo& info)
{
    info.SetName(SamplerName(info.Name()));
    info.channelCount = 1;
    info.bits = 16;
    info.rate = SK2000SoundHeader::RateOf(SK2000SoundHeader::PeriodOf(info.rate));
    info.playStart = 0;
    info.playEnd = info.length;
    info.releaseLoop = {};
    info.rootKey = SampleInfo::kDefaultRootKey;
    info.keyByte2 = 0;
    info.keyByte3 = 0;
    info.fineTuning = 0;
}

void CABCK2000Interface::GetCapabilities(SamplerCapabilities& capabilities)
{
    capabilities = SamplerCapabilities{};
    std::strncpy(capabilities.protocolName, ProtocolName(), SamplerCapabilities::kProtocolNameCapacity - 1);
    // The sampler gives new blocks their ids: no start number to offer.
    capabilities.lowestSampleNumber = 0;
    capabilities.highestSampleNumber = 0;
}

void CABCK2000Interface::FillSampleList(int32_t, CSampleList& list, uint32_t)
{
    for (uint8_t bank = 0; bank < kBanks; ++bank)
        for (const SKurzweilObjectRecord& record :
             objects_.List(kSoundBlockType, bank, kRAMOnly, CABCKurzweilObjectProtocol::kListLimit))
            if (!list.Add(CSampleSpec(record.name, record.id)))
                return;
}

} // namespace quorvel
