#pragma once
// `transmit` to an S-760: the slices as samples named after the patch, one
// partial per sample, then the patch playing them from C2 up. The options
// answer the questions the transmit dialog would ask.
#include <nlohmann/json.hpp>

#include "app/cli/SamplerCommands.h"

namespace quorvel {
class CABCS760Interface;
class CExportJob;
} // namespace quorvel

namespace quorvel::cli {

// {"samples":[{"slice","name","number","partial","frames","rate"}], "patch":{"name","number","partials"}}
nlohmann::ordered_json TransmitS760(CABCS760Interface& sampler, const CExportJob& job, const TransmitOptions& options);

} // namespace quorvel::cli
