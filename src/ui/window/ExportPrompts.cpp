#include "ui/window/ExportPrompts.h"

#include "fileformats/FileAlerts.h"
#include "framework/AlertContent.h"
#include "framework/window/AlertBox.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

// Alert 18 lists [Replace][Replace All][Cancel]; slot 0 is the last listed.
constexpr int kReplaceCancel = AlertResultForSlot(0);
constexpr int kReplaceAll = AlertResultForSlot(1);
// Alert 50 lists [Cancel][OK].
constexpr int kLimitOK = AlertResultForSlot(0);

} // namespace

int ShowAlertWithNumbers(uint32_t alert, std::initializer_list<int> numbers, QWidget* parent)
{
    const std::string script = BuiltInTextResources().AlertScript(WindowAlert(alert));
    CAlertBox box(CAlertContent(FillNumbers(script, numbers)), parent);
    return box.RunModal();
}

ReplaceAnswer CWindowExportQuestions::AskReplace(const std::string& fileName)
{
    switch (ShowAlert(WindowAlert(windowalert::kFileExists), {fileName}, parent_)) {
    case kReplaceCancel:
        return ReplaceAnswer::Cancel;
    case kReplaceAll:
        return ReplaceAnswer::ReplaceAll;
    default:
        return ReplaceAnswer::Replace;
    }
}

bool CWindowExportQuestions::AcceptSliceLimit(const SliceLimitQuestion& question)
{
    if (question.table != static_cast<int>(kWindowTextTable)) {
        // Another table's alert: its text comes filled in already.
        CAlertBox box(CAlertContent(question.text), parent_);
        return box.RunModal() == kLimitOK;
    }
    return ShowAlertWithNumbers(static_cast<uint32_t>(question.alert), {question.limit}, parent_) == kLimitOK;
}

std::optional<CFileSpec> CWindowExportQuestions::AskSaveFile(const SaveFileQuestion& question)
{
    SSaveFileRequest request;
    request.title = question.prompt;
    if (question.type) {
        request.typeName = question.type->description;
        request.extension = FirstExtension(*question.type);
    }
    request.defaultName = question.defaultName.empty() ? defaultBase_ + request.extension : question.defaultName;
    request.folder = folder_;
    const std::optional<std::string> path = dialogs_.AskSaveFile(request);
    if (!path)
        return std::nullopt;
    return CFileSpec(*path);
}

CLengthyExportProgress::~CLengthyExportProgress() = default;

void CLengthyExportProgress::Open(const std::string& label)
{
    operation_.emplace(services_, label);
    operation_->SetCountRange(100);
}

void CLengthyExportProgress::Show(int slicesLeft, int percent)
{
    if (operation_)
        operation_->Update(slicesLeft, static_cast<int16_t>(percent));
}

bool CLengthyExportProgress::CancelPressed()
{
    return operation_ && operation_->StopRequested();
}

void CLengthyExportProgress::ShowCancelled(const std::string& message)
{
    if (operation_) {
        operation_->SetDetail(message);
        operation_->SetValues(operation_->Content().value, operation_->Content().count);
    }
}

void CLengthyExportProgress::Close()
{
    operation_.reset();
}

} // namespace quorvel
