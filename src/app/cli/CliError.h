#pragma once
// A refusal of the command-line tool: the text for stderr and the exit status.
#include <stdexcept>
#include <string>

namespace quorvel::cli {

enum ExitStatus : int {
    kSuccess = 0,
    kUsage = 1,
    kInputRefused = 2,
    kExportRefused = 3,
    kDeviceRefused = 3, // a sampler refused, failed or could not be reached
};

class CliError : public std::runtime_error {
public:
    CliError(ExitStatus status, const std::string& text) : std::runtime_error(text), status_(status) {}
    ExitStatus Status() const { return status_; }

private:
    ExitStatus status_;
};

} // namespace quorvel::cli
