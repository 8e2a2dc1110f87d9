#pragma once
// What the instrument exports and the groove MIDI export ask their user
// besides the replace question of the slice files: whether to go on with
// fewer slices, and which file to write. The window answers with alert
// boxes and save dialogs; the command-line tool from its options.
#include <exception>
#include <optional>
#include <string>

#include "fileformats/ExportQuestions.h"
#include "fileformats/FileTypes.h"
#include "framework/FileSpec.h"
#include "framework/XBase.h"

namespace quorvel {

// There are more slices than the export can hold.
struct SliceLimitQuestion {
    int table = 0;     // alert table and number
    int alert = 0;
    int count = 0;     // slices the job has
    int limit = 0;     // slices the export can take
    std::string text;  // the alert's text with the numbers filled in
};

struct SaveFileQuestion {
    std::string prompt;
    const FileTypeSpec* type = nullptr;
    std::string defaultName;
};

class CInstrumentExportQuestions : public CExportQuestions {
public:
    // True to go on with the first `limit` slices, false to export nothing.
    virtual bool AcceptSliceLimit(const SliceLimitQuestion& question) = 0;
    // The file to write, or nothing when the user cancelled.
    virtual std::optional<CFileSpec> AskSaveFile(const SaveFileQuestion& question) = 0;
};

// An export that failed; the alert (table and number) reports it.
class XExportFailed : public XBase {
public:
    XExportFailed(int table, int alert) : table_(table), alert_(alert) {}
    int Table() const { return table_; }
    int Alert() const { return alert_; }
    const char* what() const noexcept override { return "XExportFailed"; }

private:
    int table_;
    int alert_;
};

// The number of slices to export: all when they fit, else `limit` when the
// user accepts the alert (table, alert), else nothing.
std::optional<int> LimitSlices(CInstrumentExportQuestions& questions, int count, int limit, int table, int alert);

// Runs one step of an export and reports any failure in it as the given
// alert; a failure already named by an inner step keeps its alert.
template <class Step>
auto RunExportStep(int table, int alert, Step&& step) -> decltype(step())
{
    try {
        return step();
    } catch (const XExportFailed&) {
        throw;
    } catch (const std::exception&) {
        throw XExportFailed(table, alert);
    }
}

} // namespace quorvel
