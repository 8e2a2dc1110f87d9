#pragma once
// The device commands of the command-line tool: `midi-ports`, `scsi-buses`,
// and `list`, `transmit`, `receive` and `delete` for the samplers it talks
// to. Each takes the registered ports and buses it works on and returns its
// JSON report; refusals and failures are CliError (1 usage, 2 input refused,
// 3 the sampler refused or failed) with the program's own alert text.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "app/cli/DocumentOptions.h"
#include "app/cli/SamplerOptions.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBusRegistry.h"

namespace CLI {
class App;
}

namespace quorvel::cli {

// The ports and buses registered at start-up.
struct SDeviceLists {
    const CMIDIPortLists& midi;
    const CSCSIBusRegistry& scsi;
};

// {"inputs":[{"name","driver"}],"outputs":[...]}
nlohmann::ordered_json MIDIPortsReport(const CMIDIPortLists& ports);

// {"buses":[{"name","driver","adapter_id","targets":["0: \"VENDOR\" \"PRODUCT\"", ...]}]}
nlohmann::ordered_json SCSIBusesReport(const CSCSIBusRegistry& buses);

struct TransmitOptions {
    std::optional<int> sampleNumber; // where the first sample goes (default the lowest); the next ones follow
    bool acceptLimit = false; // send the first slices when the numbers run out
    // Samplers that build a program from the slices (AKAI, Kurzweil).
    std::optional<int> programId; // Kurzweil: the program's id
    std::optional<std::string> programName;
    std::optional<int> firstKey;
    std::optional<std::string> templateName;
    bool replace = false;     // a program of that name goes, with its samples
    bool useDefaults = false; // a template that cannot be read gives way to the defaults
    std::optional<int> instrument; // the instrument slot the slices go to, from 1 (Ensoniq)
};

void AddTransmitOptions(CLI::App& command, TransmitOptions& options);

// One sample per active slice at consecutive numbers (one sample with
// --one-sample): {"samples":[{"slice","name","number","frames","rate"}]}.
// An AKAI sampler also gets a program: "program":{"name","number","keygroups"}.
// "slice" counts the outputs from 1 as the slice files of an export do; 0
// stands for the whole loop sent as one sample.
nlohmann::ordered_json Transmit(const SDeviceLists& devices, const std::string& loop,
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
// file only once it is complete (a stereo sample gives the side or the mix
// --channel asks for): {"file","number","name","frames","rate","bits",
// "channels","loop"}.
nlohmann::ordered_json Receive(const SDeviceLists& devices, const SamplerOptions& sampler,
                               const ReceiveOptions& options);

// The sampler's list, or, for a sampler without one whose sample numbers
// are few, the numbers that answer with a header:
// {"samples":[{"name","number","stereo","right"}]}. A plain sample dump
// sampler keeps no directory the dump can read: refused (status 3).
nlohmann::ordered_json List(const SDeviceLists& devices, const SamplerOptions& sampler);

struct DeleteOptions {
    int sample = 0;
};

void AddDeleteOptions(CLI::App& command, DeleteOptions& options);

// {"deleted": N}
nlohmann::ordered_json Delete(const SDeviceLists& devices, const SamplerOptions& sampler,
                              const DeleteOptions& options);

} // namespace quorvel::cli
