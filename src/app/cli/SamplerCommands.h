#pragma once
// The device commands of the command-line tool: `midi-ports`, and `list`,
// `transmit` and `receive` for a plain MIDI Sample Dump Standard sampler.
// Each takes the registered port lists it works on and returns its JSON
// report; refusals and failures are CliError (1 usage, 2 input refused,
// 3 the sampler refused or failed) with the program's own alert text.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "app/cli/DocumentOptions.h"
#include "app/cli/SamplerOptions.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace CLI {
class App;
}

namespace quorvel::cli {

// {"inputs":[{"name","driver"}],"outputs":[...]}
nlohmann::ordered_json MIDIPortsReport(const CMIDIPortLists& ports);

struct TransmitOptions {
    int sampleNumber = 0;     // where the first sample goes; the next ones follow
    bool acceptLimit = false; // send the first slices when the numbers run out
};

void AddTransmitOptions(CLI::App& command, TransmitOptions& options);

// One sample per active slice at consecutive numbers (one sample with
// --one-sample): {"samples":[{"slice","name","number","frames","rate"}]}.
// "slice" counts the outputs from 1 as the slice files of an export do; 0
// stands for the whole loop sent as one sample.
nlohmann::ordered_json Transmit(const CMIDIPortLists& ports, const std::string& loop,
                                const DocumentOptions& documentOptions, const SamplerOptions& sampler,
                                const TransmitOptions& options);

struct ReceiveOptions {
    std::optional<int> sample;
    std::optional<std::string> name;
    std::string file;
    std::string channel = "mix";
    bool force = false;
};

void AddReceiveOptions(CLI::App& command, ReceiveOptions& options);

// Receives one sample and writes it as a WAV or AIFF file, replacing the
// file only once it is complete: {"file","number","frames","rate","bits","loop"}.
nlohmann::ordered_json Receive(const CMIDIPortLists& ports, const SamplerOptions& sampler,
                               const ReceiveOptions& options);

// A plain sample dump sampler keeps no directory the dump can read: always
// refused (status 3) once the options are sound.
nlohmann::ordered_json List(const SamplerOptions& sampler);

} // namespace quorvel::cli
