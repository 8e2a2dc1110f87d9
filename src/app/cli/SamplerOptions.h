#pragma once
// The options that name a sampler for the device commands (`list`,
// `transmit`, `receive`) and the device trace every device command takes.
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace quorvel::cli {

struct SamplerOptions {
    std::optional<std::string> sampler; // an installed sampler: not offered yet
    std::optional<std::string> model;   // "sds"
    std::optional<std::string> midiIn;
    std::optional<std::string> midiOut;
    int sysexId = 0; // the device number (MIDI channel) the sampler answers
};

void AddSamplerOptions(CLI::App& command, SamplerOptions& options);
// --trace FILE, for every device command.
void AddTraceOption(CLI::App& command, std::optional<std::string>& trace);

// Starts the device trace. CliError (status 1) when the file does not open.
void StartTrace(const std::optional<std::string>& trace);

// Throws CliError (status 1) unless the options name a plain sample dump
// sampler on two ports: the only kind this tool talks to so far.
void RequireSDSModel(const SamplerOptions& options);

} // namespace quorvel::cli
