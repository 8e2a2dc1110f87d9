#pragma once
// `transmit` to a Kurzweil K2000/K2500: the slices as sound blocks, a keymap
// that puts slice k on the first key + k, and a program that plays it. The
// options answer the questions the transmit dialog would ask.
#include <nlohmann/json.hpp>

#include "app/cli/SamplerCommands.h"

namespace quorvel {
class CABCK2000Interface;
class CExportJob;
} // namespace quorvel

namespace quorvel::cli {

// {"samples":[{"slice","name","number","frames","rate","key"}],
//  "keymap":{"id","name","keys":[{"key","sound_block"}]},
//  "program":{"id","name","template"}}; "number" is the sound block's id.
nlohmann::ordered_json TransmitK2000(CABCK2000Interface& sampler, const CExportJob& job,
                                     const TransmitOptions& options);

} // namespace quorvel::cli
