#pragma once
// The samplers the desktop program knows: the model table, and the samplers
// the user installed, read from the program's preferences file (never
// written: the tool leaves the user's settings as they are).
#include <vector>

#include <nlohmann/json.hpp>

#include "app/cli/SamplerOptions.h"
#include "fileformats/PreferenceObjects.h"

namespace quorvel::cli {

// The installed samplers of the preferences file, in order; none when there
// is no file. CliError (status 2) when the file cannot be read.
std::vector<CPersistentInstalledSampler> InstalledSamplersOnFile();

// {"models":[{"type","name","transport","os","rx","tx","id1","ids","osr","f5",
// "picture","info","help","usable"}],"installed":[{"name","type","model",
// "midi_in","midi_out","sysex_id","scsi_bus","scsi_id","os"}]}. "usable":
// whether this tool can talk to samplers of the model.
nlohmann::ordered_json SamplersReport(const std::vector<CPersistentInstalledSampler>& installed);

// `--sampler NAME` becomes the model, ports, SysEx ID, bus and SCSI id of the
// installed sampler of that name. CliError (status 1) when no installed
// sampler has that name, or when --model or a port is given beside it.
SamplerOptions WithInstalledSampler(const SamplerOptions& options,
                                    const std::vector<CPersistentInstalledSampler>& installed);

} // namespace quorvel::cli
