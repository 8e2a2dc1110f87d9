#pragma once
// What the command-line tools share: option values checked the way the
// window's fields check what is typed, and an honest exit status when the
// report could not be written.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

namespace quorvel::cli {

// Text of digits only, as a numeric field takes it: no sign, blank, point,
// exponent or hexadecimal prefix, which a plain number conversion would
// otherwise read as something the user did not type.
inline CLI::Validator WholeNumber()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
                return "\"" + text + "\" is not a whole number (digits 0 to 9 only)";
            return {};
        },
        "DIGITS", "WholeNumber");
}

// Digits with at most one decimal point, as the New Tempo field takes them:
// no sign, exponent, "nan" or "inf".
inline bool IsDecimalText(const std::string& text)
{
    const size_t point = text.find('.');
    return text.find_first_of("0123456789") != std::string::npos &&
           text.find_first_not_of("0123456789.") == std::string::npos &&
           (point == std::string::npos || text.find('.', point + 1) == std::string::npos);
}

inline CLI::Validator DecimalNumber()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (!IsDecimalText(text))
                return "\"" + text + "\" is not a number (digits 0 to 9 and at most one '.')";
            return {};
        },
        "DECIMAL", "DecimalNumber");
}

constexpr int kOutputFailed = 3;

// Flushes standard output. When it could not be written (a full disk,
// /dev/full) the report is truncated: that is a failure, never a success, so
// a successful `status` becomes kOutputFailed with a message on stderr. Call
// after the last output.
inline int FinishStandardOutput(const char* tool, int status)
{
    errno = 0;
    std::cout.flush();
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout;
    if (!failed)
        return status;
    const int error = errno;
    std::cerr << tool << ": could not write the output"
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return status == 0 ? kOutputFailed : status;
}

} // namespace quorvel::cli
