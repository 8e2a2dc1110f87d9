#pragma once
// `quorvel-cli find`: the program's search for samplers on the registered
// SCSI buses and MIDI ports, reported as JSON.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "fileformats/PreferenceObjects.h"
#include "samplers/SamplerBrands.h"

namespace quorvel::cli {

// {"found":[{"type","model","midi_in","midi_out","sysex_id","scsi_bus","scsi_id","os","double"}]}: every sampler
// found, "double" carrying the note when it was found before or is installed already. The closing alerts
// (nothing found, ports unavailable, a MIDI connection missing) go to stderr. CliError (status 1) for a model that
// is not in the table; (status 3) when nothing was found.
nlohmann::ordered_json Find(const SSamplerDevices& devices, const std::vector<CPersistentInstalledSampler>& installed,
                            const std::optional<std::string>& model);

} // namespace quorvel::cli
