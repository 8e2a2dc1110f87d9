#pragma once
// Finding an S-760 on the MIDI ports: the search writes the access address
// for each device number, and an S-760 answers with the data set it holds
// there.
#include <cstdint>
#include <vector>

#include "samplers/SamplerRecognizer.h"

namespace quorvel {

// The one-way data set the search sends to device number `device`.
std::vector<uint8_t> S760SearchRequest(uint8_t device);

class CS760Recognizer : public CABCSamplerRecognizer {
public:
    std::vector<SFoundSampler> RecognizeMIDIMessage(const SMIDIMessageSeen& seen) const override;
};

} // namespace quorvel
