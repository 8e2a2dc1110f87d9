#include "samplers/roland/S760InstalledMIDIInterface.h"

namespace quorvel {

CS760InstalledMIDIInterface::CS760InstalledMIDIInterface(const CRegisteredMIDIInput& input,
                                                         const CRegisteredMIDIOutput& output, uint8_t device)
    : akai::SOpenMIDIPorts(input, output), CS760MIDIInterface(*this->output, parser, device)
{
}

void CheckS760Answers(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device)
{
    CS760InstalledMIDIInterface sampler(input, output, device);
    sampler.ExchangeAccess(true);
}

} // namespace quorvel
