#include "app/cli/CliQuestions.h"

#include "fileformats/FileAlerts.h"

namespace quorvel::cli {

ReplaceAnswer CCliQuestions::AskReplace(const std::string& fileName)
{
    if (force_)
        return ReplaceAnswer::ReplaceAll;
    refusal_ = FileAlertText(kFileExistsAlert, fileName) + " (use --force to replace it)";
    return ReplaceAnswer::Cancel;
}

bool CCliQuestions::AcceptSliceLimit(const SliceLimitQuestion& question)
{
    if (acceptLimit_)
        return true;
    refusal_ = question.text + " (use --accept-limit to export the first " + std::to_string(question.limit) + ")";
    return false;
}

std::optional<CFileSpec> CCliQuestions::AskSaveFile(const SaveFileQuestion&)
{
    const CFileSpec file(nextFile_);
    if (file.NameTaken() && AskReplace(file.Name()) == ReplaceAnswer::Cancel)
        return std::nullopt;
    return file;
}

std::optional<int> CCliQuestions::AskBars()
{
    refusal_ = std::string(kNoLengthText) + " (use --bars)";
    return std::nullopt;
}

} // namespace quorvel::cli
