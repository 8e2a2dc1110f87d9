#pragma once
// Opens the tool's input as the desktop program would, turning refusals into
// the program's own alert texts (exit status 2).
#include <memory>
#include <string>

#include "document/SoundDocument.h"
#include "fileformats/SoundImport.h"

namespace quorvel::cli {

// A damaged or newer document still opens as a plain sound; its alert text
// goes to stderr.
std::unique_ptr<CSoundDocument> OpenInput(const std::string& path, ChannelMode mode);

// The file-type description ("Wave File", "Audio IFF", "Quorvel! Document File").
std::string InputTypeDescription(const std::string& path);

} // namespace quorvel::cli
