#pragma once
// Where the Help menu leads: the HTML manual installed with the program (or
// in the source tree of a build that was never installed), and the fixed
// web pages of commands 1401 to 1404.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

constexpr uint32_t kCmdHelpContents = 1400;
constexpr uint32_t kCmdFirstWebPage = 1401;
constexpr uint32_t kCmdLastWebPage = 1404;

// The address behind a web-page command; empty for any other number.
std::string WebPageAddress(uint32_t command);

// The manual's index page, in the order it is looked for: installed next to
// the executable (<prefix>/bin and <prefix>/share/doc/quorvel/manual), then
// in the source tree the program was built from.
std::vector<std::string> ManualCandidates(const std::string& executableFolder, const std::string& sourceFolder);

// The first candidate that exists.
std::optional<std::string> FindManual(const std::vector<std::string>& candidates,
                                      const std::function<bool(const std::string&)>& exists);

} // namespace quorvel
