#include "framework/CommandLine.h"

#include <filesystem>
#include <system_error>

namespace quorvel {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> ParseCommandLine(std::string_view text, const FileExistsFunction& exists)
{
    std::vector<std::string> names;
    size_t pos = 0;
    const size_t end = text.size();
    while (pos < end) {
        if (IsBlank(text[pos])) {
            ++pos;
            continue;
        }
        if (text[pos] == '"') {
            // A missing closing quote lets the name run to the end.
            const size_t close = text.find('"', pos + 1);
            const size_t nameEnd = close == std::string_view::npos ? end : close;
            std::string name(text.substr(pos + 1, nameEnd - pos - 1));
            pos = close == std::string_view::npos ? end : close + 1;
            if (!name.empty() && exists(name)) {
                names.push_back(std::move(name));
            }
            continue;
        }
        // Unquoted: try the text up to every blank and up to the end; the
        // longest prefix naming a file wins.
        const size_t start = pos;
        size_t best = std::string_view::npos;
        for (size_t i = start + 1; i <= end; ++i) {
            if (i < end && !IsBlank(text[i])) {
                continue;
            }
            if (exists(std::string(text.substr(start, i - start)))) {
                best = i;
            }
        }
        if (best != std::string_view::npos) {
            names.emplace_back(text.substr(start, best - start));
            pos = best;
        } else {
            // No file: drop the first word and read on from there.
            while (pos < end && !IsBlank(text[pos])) {
                ++pos;
            }
        }
    }
    return names;
}

bool IsExistingFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string JoinCommandLine(std::span<const std::string> names)
{
    std::string line;
    for (const std::string& name : names) {
        if (!line.empty()) {
            line += ' ';
        }
        if (name.find('"') == std::string::npos) {
            line += '"' + name + '"';
        } else {
            line += name;
        }
    }
    return line;
}

} // namespace quorvel
