#pragma once
// How a document window answers what its saves and exports ask while they
// run: alert boxes for the questions, the application's file dialogs for
// the files, and the lengthy-operation window for progress and Cancel.
#include <optional>
#include <string>

#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"
#include "framework/LengthyOperation.h"
#include "ui/window/WindowServices.h"

class QWidget;

namespace quorvel {

class CWindowExportQuestions final : public CInstrumentExportQuestions {
public:
    // `defaultBase` names proposed files (the sound's name without extension);
    // `folder` is where the dialogs start.
    CWindowExportQuestions(CFileDialogs& dialogs, std::string defaultBase, std::string folder, QWidget* parent)
        : dialogs_(dialogs), defaultBase_(std::move(defaultBase)), folder_(std::move(folder)), parent_(parent)
    {
    }

    // Alert 18: "Replace", "Replace All" or "Cancel".
    ReplaceAnswer AskReplace(const std::string& fileName) override;
    // The question's alert with its numbers filled in; OK goes on.
    bool AcceptSliceLimit(const SliceLimitQuestion& question) override;
    std::optional<CFileSpec> AskSaveFile(const SaveFileQuestion& question) override;

private:
    CFileDialogs& dialogs_;
    std::string defaultBase_;
    std::string folder_;
    QWidget* parent_;
};

// The export's progress in the lengthy-operation window; its Stop button
// cancels the export.
class CLengthyExportProgress final : public CExportProgress {
public:
    explicit CLengthyExportProgress(SLengthyOperationServices services) : services_(services) {}
    ~CLengthyExportProgress() override;

    void Open(const std::string& label) override;
    void Show(int slicesLeft, int percent) override;
    bool CancelPressed() override;
    void ShowCancelled(const std::string& message) override;
    void Close() override;

private:
    SLengthyOperationServices services_;
    std::optional<CLengthyOperation> operation_;
};

// Shows an alert script of table 129 whose text carries "%d" numbers.
int ShowAlertWithNumbers(uint32_t alert, std::initializer_list<int> numbers, QWidget* parent);

} // namespace quorvel
