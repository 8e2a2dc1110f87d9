#pragma once
// Writes a user file so that whatever was there before is only ever replaced
// by a complete new file. The data goes to a temporary file in the target's
// folder, which is synced and renamed over the target on Commit; without a
// Commit (a failure, an exception) only the temporary file is removed and the
// old file is untouched. While it is written the temporary is registered for
// removal on a terminating signal, and temporaries of the same target left by
// writers that no longer run are removed when a new writer starts.
#include <functional>
#include <memory>
#include <string>

#include "framework/FileSpec.h"
#include "framework/OpenFile.h"

namespace quorvel {

class CSafeFileWriter {
public:
    // Creates the temporary file; XCreateFailed when the folder refuses it.
    explicit CSafeFileWriter(const CFileSpec& target);
    ~CSafeFileWriter();
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

    CMedia& Media() { return *file_; }
    const std::string& TemporaryPath() const { return temporaryPath_; }

    // Syncs and closes the temporary file, which keeps its name until Commit
    // (so that many files can be completed before any is put in place). On
    // failure the temporary file is removed and XWrite propagates.
    void Finish();
    // Finishes if needed and renames over the target. On failure the
    // temporary file is removed and the exception propagates (XWrite or XFile).
    void Commit();

private:
    void Discard() noexcept;

    std::string targetPath_;
    std::string temporaryPath_;
    std::unique_ptr<COpenFile> file_;
    int liveToken_ = -1;
    bool committed_ = false;
};

// Runs `write` on a fresh stream and replaces `target` only when it returns.
void SafeWrite(const CFileSpec& target, const std::function<void(CMedia&)>& write);

} // namespace quorvel
