#pragma once
// The AKAI MIDI interface of an installed sampler, on ports it opens and
// keeps open for its lifetime.
#include <memory>

#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/akai/AKAIMIDIInterface.h"

namespace quorvel {

namespace akai {
// Opened before the interface that uses them, closed after it.
struct SOpenMIDIPorts {
    SOpenMIDIPorts(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output);
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input;
    std::unique_ptr<CMIDIOutput> output;
};
} // namespace akai

class CAKAIInstalledMIDIInterface final : private akai::SOpenMIDIPorts, public CAKAIMIDIInterface {
public:
    // XFailedOpeningMIDIPort when a port does not open.
    CAKAIInstalledMIDIInterface(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output,
                                uint8_t channel, uint32_t typeId);
};

} // namespace quorvel
