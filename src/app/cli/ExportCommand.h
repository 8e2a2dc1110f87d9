#pragma once
// `quorvel-cli export`: writes every output the desktop program can write.
#include <optional>
#include <string>

#include "app/cli/DocumentOptions.h"

namespace CLI {
class App;
}

namespace quorvel::cli {

struct ExportOptions {
    std::optional<std::string> document;
    std::optional<std::string> qlx;
    std::optional<std::string> midi;
    std::optional<std::string> sound;
    std::optional<int> rate;
    std::optional<std::string> soundfont;
    std::optional<std::string> samplecell;
    std::optional<std::string> templateFile;
    std::optional<std::string> mixman;
    std::optional<std::string> sfz;
    std::optional<int> firstKey;
    bool sfzGroove = false;
    std::optional<std::string> hydrogen;
    std::optional<std::string> name;
    bool force = false;
    bool acceptLimit = false;
};

void AddExportOptions(CLI::App& command, ExportOptions& options);

// Throws CliError: status 1 for a request without outputs, 3 for an export
// that was refused or failed (with its alert text).
void RunExports(const std::string& input, const DocumentOptions& documentOptions, const ExportOptions& options);

} // namespace quorvel::cli
