#include "samplers/akai/AKAIMIDIInterface.h"

#include "fileformats/PreferenceObjects.h"
#include "samplers/akai/AKAIModels.h"

namespace quorvel {

namespace {

akai::EGeneration GenerationOf(uint32_t typeId)
{
    const std::optional<akai::EGeneration> generation = akai::MIDIModelGeneration(typeId);
    if (!generation)
        throw XSamplerNotSupported();
    return *generation;
}

} // namespace

CAKAIMIDIInterface::CAKAIMIDIInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel, uint32_t typeId)
    : CABCAKAIInterface(std::make_unique<CAKAIMIDICom>(output, input, channel), GenerationOf(typeId))
{
}

} // namespace quorvel
