#pragma once
// What a slice-by-slice export tells its progress window and asks of it.
// The window itself belongs to the caller (the GUI's lengthy operation, or
// nothing at all on the command line).
#include <string>

namespace quorvel {

class CExportProgress {
public:
    virtual ~CExportProgress() = default;

    // Before the first slice; `label` heads the count ("Slices left:").
    virtual void Open(const std::string& label) { (void)label; }
    virtual void Show(int slicesLeft, int percent) { (void)slicesLeft, (void)percent; }
    // Polled before each slice.
    virtual bool CancelPressed() { return false; }
    // Shown in the window when the export stops on a cancel.
    virtual void ShowCancelled(const std::string& message) { (void)message; }
    virtual void Close() {}
};

// Finishes the progress window on every way out of an export.
class CProgressScope {
public:
    CProgressScope(CExportProgress& progress, const std::string& label) : progress_(progress)
    {
        progress_.Open(label);
    }
    ~CProgressScope() { progress_.Close(); }
    CProgressScope(const CProgressScope&) = delete;
    CProgressScope& operator=(const CProgressScope&) = delete;

private:
    CExportProgress& progress_;
};

enum class ExportOutcome { Completed, Cancelled };

} // namespace quorvel
