#pragma once
// The file names on the program's command line, as given at start or handed
// over by a second copy. Names may be quoted; an unquoted name may contain
// blanks, and then the longest run of words that names an existing file is
// taken.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

using FileExistsFunction = std::function<bool(const std::string& path)>;

// The names to open, in order. Names that do not exist are skipped and the
// rest of the text is still read.
std::vector<std::string> ParseCommandLine(std::string_view text, const FileExistsFunction& exists);

// True for a regular file (after following links). Folders and devices are
// not documents, so they never count as names on the command line.
bool IsExistingFile(const std::string& path);

// Builds a command line that ParseCommandLine reads back as `names`: each is
// quoted. A name that itself holds a double quote cannot be quoted and is
// written bare, which reads back as long as it does not begin with one.
std::string JoinCommandLine(std::span<const std::string> names);

} // namespace quorvel
