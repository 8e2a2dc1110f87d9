#pragma once
// `quorvel-cli devices` and `quorvel-cli play`: the sound cards, and
// auditioning a loop or one slice from a terminal.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "app/cli/DocumentOptions.h"

namespace CLI {
class App;
}

namespace quorvel::cli {

struct PlayOptions {
    std::optional<int> slice; // 1-based among the slices that cut the loop
    bool loop = false;
    std::optional<double> seconds;
    std::optional<std::string> device;
    std::optional<int> latency;
    std::optional<std::string> capture;
};

void AddPlayOptions(CLI::App& command, PlayOptions& options);

// Every usable card with its latency settings.
nlohmann::ordered_json DevicesReport();

// Plays and reports the card, the latency and the underruns counted.
// Throws CliError: 1 for a bad slice or device, 3 when no card opens.
nlohmann::ordered_json Play(const std::string& input, const DocumentOptions& documentOptions,
                            const PlayOptions& options);

} // namespace quorvel::cli
