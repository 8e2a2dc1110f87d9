#pragma once
// The command-line tool's answers to the questions an export asks: it never
// guesses. Without --force an existing file is not replaced; without
// --accept-limit an export over its slice limit writes nothing. Each refusal
// is remembered with the program's own alert text.
#include <optional>
#include <string>

#include "document/LengthPrompt.h"
#include "fileformats/InstrumentExportQuestions.h"

namespace quorvel::cli {

class CCliQuestions : public CInstrumentExportQuestions, public CLengthPrompt {
public:
    CCliQuestions(bool force, bool acceptLimit) : force_(force), acceptLimit_(acceptLimit) {}

    // The file the next save question is answered with.
    void SetNextFile(const std::string& path) { nextFile_ = path; }
    // Why the last export stopped short, if it was a question refused here.
    const std::optional<std::string>& Refusal() const { return refusal_; }
    void ClearRefusal() { refusal_.reset(); }

    ReplaceAnswer AskReplace(const std::string& fileName) override;
    bool AcceptSliceLimit(const SliceLimitQuestion& question) override;
    std::optional<CFileSpec> AskSaveFile(const SaveFileQuestion& question) override;
    std::optional<int> AskBars() override;

private:
    bool force_;
    bool acceptLimit_;
    std::string nextFile_;
    std::optional<std::string> refusal_;
};

} // namespace quorvel::cli
