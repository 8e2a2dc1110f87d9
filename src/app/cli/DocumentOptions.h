#pragma once
// The document settings the command-line tool takes, applied to an opened
// document in the order a user could make them in the document window.
#include <optional>
#include <string>
#include <vector>

#include "document/SoundDocument.h"
#include "fileformats/SoundImport.h"

namespace CLI {
class App;
}

namespace quorvel::cli {

struct DocumentOptions {
    std::string channel = "mix";
    std::optional<int> sensitivity; // as the fader shows it, 0 .. 99
    std::vector<int32_t> add;       // Pen slices
    std::vector<int32_t> hide;
    std::vector<int32_t> lock;
    std::vector<int32_t> select;
    bool leftToFirstSlice = false;
    std::optional<int32_t> left;
    std::optional<int32_t> right;
    std::optional<int> bars;
    std::optional<int> beats;
    std::optional<std::string> sign; // "2/4" .. "7/8"
    std::optional<int> stretch;      // index 0 .. 13
    bool normalize = false;
    bool oneSample = false;
    bool silenceSelected = false;
    bool pitchMode = false;
    std::optional<std::string> newTempo; // as typed in the New Tempo field

    ChannelMode Channel() const;
};

void AddDocumentOptions(CLI::App& command, DocumentOptions& options);

// Throws CliError (exit status 1) for a position that names no slice.
void ApplyDocumentOptions(CSoundDocument& document, const DocumentOptions& options);

} // namespace quorvel::cli
