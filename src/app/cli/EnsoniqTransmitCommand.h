#pragma once
// `transmit` to an EPS, EPS-16+ or ASR-10: the slices as the waves of one
// instrument in the slot --instrument names. The options answer the
// questions the transmit dialog would ask.
#include <nlohmann/json.hpp>

#include "app/cli/SamplerCommands.h"

namespace quorvel {
class CABCEnsoniqInterface;
class CExportJob;
} // namespace quorvel

namespace quorvel::cli {

// {"samples":[{"slice","name","number","frames","rate"}],
//  "instrument":{"name","number"}} with the instrument numbered from 1.
nlohmann::ordered_json TransmitEnsoniq(CABCEnsoniqInterface& sampler, const CExportJob& job,
                                       const TransmitOptions& options);

} // namespace quorvel::cli
