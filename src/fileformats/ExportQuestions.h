#pragma once
// The questions an export asks its user while it runs. The window answers
// them with alert boxes; the command-line tool from its options.
#include <string>

namespace quorvel {

enum class ReplaceAnswer {
    Replace,    // overwrite this file only
    ReplaceAll, // overwrite it and every later one of this export
    Cancel,     // stop the export; files already written stay
};

constexpr int kFileExistsAlert = 18;

class CExportQuestions {
public:
    virtual ~CExportQuestions() = default;
    // A file named `fileName` (without folder) already exists (alert 18).
    virtual ReplaceAnswer AskReplace(const std::string& fileName) = 0;
};

} // namespace quorvel
