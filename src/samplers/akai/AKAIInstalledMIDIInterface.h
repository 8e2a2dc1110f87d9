#pragma once
// The AKAI MIDI interface of an installed sampler, on ports it opens and
// keeps open for its lifetime.
#include "samplers/OpenSysexPorts.h"
#include "samplers/akai/AKAIMIDIInterface.h"

namespace quorvel {

class CAKAIInstalledMIDIInterface final : private SOpenSysexPorts, public CAKAIMIDIInterface {
public:
    // XFailedOpeningMIDIPort when a port does not open.
    CAKAIInstalledMIDIInterface(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output,
                                uint8_t channel, uint32_t typeId);
};

} // namespace quorvel
