#pragma once
// An installed sampler's MIDI ports, opened for an interface that keeps them
// for its lifetime: derive from it privately before the interface, so that
// they open before it and close after it.
#include <memory>

#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/midi/SysexMIDIInput.h"

namespace quorvel {

struct SOpenSysexPorts {
    // XFailedOpeningMIDIIn or XFailedOpeningMIDIOut when one does not open.
    SOpenSysexPorts(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output);
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input;
    std::unique_ptr<CMIDIOutput> output;
};

} // namespace quorvel
