#pragma once
// An AKAI S1000/S3000 family sampler over MIDI: the sample words travel as
// a sample dump.
#include <cstdint>

#include "samplers/akai/AKAIInterface.h"

namespace quorvel {

class CMIDIOutput;
class CSysexMIDIInput;

class CAKAIMIDIInterface : public CABCAKAIInterface {
public:
    // On open ports (not owned), the sampler's exclusive channel `channel`,
    // as the model `typeId` of the table. XSamplerNotSupported for a type id
    // that is no AKAI MIDI model.
    CAKAIMIDIInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel, uint32_t typeId);
};

} // namespace quorvel
