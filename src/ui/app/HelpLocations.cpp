#include "ui/app/HelpLocations.h"

namespace quorvel {

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

std::string WebPageAddress(uint32_t command)
{
    switch (command) {
    case 1401:
        return "https://quorvel.example/hollmark/";
    case 1402:
        return "https://quorvel.example/";
    case 1403:
        return "https://quorvel.example/loops/";
    case 1404:
        return "https://quorvel.example/support/";
    default:
        return {};
    }
}

std::vector<std::string> ManualCandidates(const std::string& executableFolder, const std::string& sourceFolder)
{
    std::vector<std::string> candidates;
    if (!executableFolder.empty())
        candidates.push_back(WithSlash(executableFolder) + "../share/doc/quorvel/manual/index.html");
    if (!sourceFolder.empty())
        candidates.push_back(WithSlash(sourceFolder) + "docs/manual/index.html");
    return candidates;
}

std::optional<std::string> FindManual(const std::vector<std::string>& candidates,
                                      const std::function<bool(const std::string&)>& exists)
{
    for (const std::string& candidate : candidates)
        if (exists(candidate))
            return candidate;
    return std::nullopt;
}

} // namespace quorvel
