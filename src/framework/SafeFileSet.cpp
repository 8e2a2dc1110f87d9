#include "framework/SafeFileSet.h"

namespace quorvel {

void CSafeFileSet::Write(const CFileSpec& target, const std::function<void(CMedia&)>& write)
{
    auto file = std::make_unique<CSafeFileWriter>(target);
    write(file->Media());
    file->Finish();
    files_.push_back(std::move(file));
}

void CSafeFileSet::Commit()
{
    for (auto& file : files_)
        file->Commit();
    files_.clear();
}

} // namespace quorvel
