#pragma once
// Turns a failure met while talking to a sampler into what the desktop
// program's dialogs would show (the same alert, in the same order of
// precedence), followed by its cause in a few words.
#include <string>

#include "app/cli/CliError.h"

namespace quorvel::cli {

// Call from a catch block: rethrows the exception in flight to classify it.
// `where` says what was under way ("sample 2 of 8, number 5").
CliError DeviceFailure(const std::string& where);

} // namespace quorvel::cli
