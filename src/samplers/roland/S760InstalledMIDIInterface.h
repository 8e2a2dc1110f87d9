#pragma once
// The S-760 interface of an installed sampler, on ports it opens and keeps
// open for its lifetime; and the model's place in the model table.
#include <cstdint>

#include "samplers/akai/AKAIInstalledMIDIInterface.h"
#include "samplers/roland/S760Interface.h"

namespace quorvel {

constexpr uint32_t kS760MIDIModel = 2000;

class CS760InstalledMIDIInterface final : private akai::SOpenMIDIPorts, public CS760MIDIInterface {
public:
    // XFailedOpeningMIDIIn or XFailedOpeningMIDIOut when a port does not open.
    CS760InstalledMIDIInterface(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output,
                                uint8_t device);
};

// Asks the sampler the access exchange: it tells no version, so an answer
// is all there is to know. XSysexTimedOut when it does not answer.
void CheckS760Answers(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device);

} // namespace quorvel
