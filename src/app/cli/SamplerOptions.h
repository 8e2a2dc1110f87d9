#pragma once
// The options that name a sampler for the device commands (`list`,
// `transmit`, `receive`, `delete`) and the device trace every device
// command takes.
#include <cstdint>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace quorvel {
struct SSamplerModel;
}

namespace quorvel::cli {

struct SamplerOptions {
    std::optional<std::string> sampler; // an installed sampler: not offered yet
    std::optional<std::string> model;   // sds, smdi, a type id or a model name
    std::optional<std::string> midiIn;
    std::optional<std::string> midiOut;
    int sysexId = 0; // the device number (MIDI channel) the sampler answers
    std::optional<std::string> scsiBus;
    std::optional<int> scsiId;
};

void AddSamplerOptions(CLI::App& command, SamplerOptions& options);
// --trace FILE, for every device command.
void AddTraceOption(CLI::App& command, std::optional<std::string>& trace);

// Starts the device trace. CliError (status 1) when the file does not open.
void StartTrace(const std::optional<std::string>& trace);

// The protocol a named sampler speaks, as far as this tool talks to it.
enum class ECliSamplerKind { SDS, SMDI, EMU, AKAI, Kurzweil, Yamaha, Roland, Ensoniq };

struct SCliSampler {
    ECliSamplerKind kind = ECliSamplerKind::SDS;
    uint32_t typeId = 0; // the model's type id; 0 for sds and smdi
    std::string name;    // as messages name it
    // The sample numbers it takes.
    int32_t lowestNumber = 0;
    int32_t highestNumber = 0;
    // The sampler gives new samples their numbers itself (no --sample-number).
    bool numbersItself = false;
};

// CliError (status 1) unless `number` is one of the sampler's sample numbers.
void CheckSampleNumber(const char* option, int32_t number, const SCliSampler& sampler);

// The table's model by type id ("5011") or by name (any case), or null.
const SSamplerModel* ModelByIdOrName(const std::string& text);

// What the options name, with the connection it needs given. CliError
// (status 1) when they name nothing this tool can talk to, or leave out a
// port, the bus or the SCSI id.
SCliSampler ResolveSampler(const SamplerOptions& options);

} // namespace quorvel::cli
