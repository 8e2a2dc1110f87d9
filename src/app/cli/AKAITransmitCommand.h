#pragma once
// `transmit` to an AKAI sampler: the slices as samples named after the
// program, then the program with one keygroup per slice. The options answer
// the questions the transmit dialog would ask.
#include <nlohmann/json.hpp>

#include "app/cli/SamplerCommands.h"

namespace quorvel {
class CABCAKAIInterface;
class CExportJob;
} // namespace quorvel

namespace quorvel::cli {

// {"samples":[{"slice","name","number","frames","rate"}],
//  "program":{"name","number","keygroups"}}
nlohmann::ordered_json TransmitAKAI(CABCAKAIInterface& sampler, const CExportJob& job,
                                    const TransmitOptions& options);

} // namespace quorvel::cli
