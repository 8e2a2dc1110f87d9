#include "samplers/akai/AKAIInstalledMIDIInterface.h"

namespace quorvel {

CAKAIInstalledMIDIInterface::CAKAIInstalledMIDIInterface(const CRegisteredMIDIInput& input,
                                                         const CRegisteredMIDIOutput& output, uint8_t channel,
                                                         uint32_t typeId)
    : SOpenSysexPorts(input, output), CAKAIMIDIInterface(*this->output, parser, channel, typeId)
{
}

} // namespace quorvel
