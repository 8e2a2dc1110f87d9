#pragma once
// A program header and a keygroup as a freshly made program on the sampler
// has them, for a transmission without a template: every key of the range
// sounds, at full velocity range, with the filter open.
#include <memory>

#include "samplers/akai/AKAIProgram.h"

namespace quorvel::akai {

std::unique_ptr<CABCAKAIProgramHeader> DefaultProgramHeader(EGeneration generation);
std::unique_ptr<CABCAKAIKeyGroup> DefaultKeyGroup(EGeneration generation);

} // namespace quorvel::akai
