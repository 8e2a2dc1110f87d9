#pragma once
// Writes several files that belong together (an instrument and its slice
// files, the numbered files of one export) so that they replace what was
// there as a whole: each file is written and synced under a temporary name,
// and only when every one is complete are they all renamed into place.
// Without a Commit (a cancel, a failure) only the temporaries are removed
// and no file of the set has changed.
#include <functional>
#include <memory>
#include <vector>

#include "framework/SafeFileWriter.h"

namespace quorvel {

class CSafeFileSet {
public:
    CSafeFileSet() = default;
    CSafeFileSet(const CSafeFileSet&) = delete;
    CSafeFileSet& operator=(const CSafeFileSet&) = delete;

    // Writes one member completely to its temporary file (synced and closed,
    // so that a set of a thousand files does not hold a thousand open
    // descriptors). Failures propagate; the members written so far stay
    // pending until Commit or destruction.
    void Write(const CFileSpec& target, const std::function<void(CMedia&)>& write);

    // Renames every member into place, in the order written. Renaming within
    // a folder only fails when the system itself fails; should it happen,
    // the members renamed before stay and the rest are removed.
    void Commit();

    int Count() const { return static_cast<int>(files_.size()); }

private:
    std::vector<std::unique_ptr<CSafeFileWriter>> files_;
};

} // namespace quorvel
