#pragma once
// `transmit` to a Yamaha A3000: the slices as samples named after the
// sample bank, then the bank listing them. The options answer the questions
// the transmit dialog would ask.
#include <nlohmann/json.hpp>

#include "app/cli/SamplerCommands.h"

namespace quorvel {
class CABCA3000Interface;
class CExportJob;
} // namespace quorvel

namespace quorvel::cli {

// {"samples":[{"slice","name","number","frames","rate"}],
//  "bank":{"name","members"}}
nlohmann::ordered_json TransmitA3000(CABCA3000Interface& sampler, const CExportJob& job,
                                     const TransmitOptions& options);

} // namespace quorvel::cli
