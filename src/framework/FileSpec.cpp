#include "framework/FileSpec.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/OpenFile.h"

namespace quorvel {

namespace {

constexpr size_t kMaxExtension = 8; // dot included

std::chrono::system_clock::time_point ToTimePoint(const struct timespec& ts)
{
    using namespace std::chrono;
    return system_clock::time_point(duration_cast<system_clock::duration>(seconds(ts.tv_sec) + nanoseconds(ts.tv_nsec)));
}

} // namespace

CFileSpec::CFileSpec(const std::string& fullPath)
{
    const size_t slash = fullPath.rfind('/');
    if (slash == std::string::npos) {
        name_ = fullPath;
    } else {
        folder_ = fullPath.substr(0, slash + 1);
        name_ = fullPath.substr(slash + 1);
    }
}

CFileSpec::CFileSpec(const std::string& folder, const std::string& name, FourCC type)
    : folder_(folder), name_(name), type_(type)
{
    if (!folder_.empty() && folder_.back() != '/')
        folder_ += '/';
}

std::string CFileSpec::BaseName(const std::string& name)
{
    std::string base;
    std::string extension;
    SplitName(name, base, extension);
    return base;
}

void CFileSpec::SplitName(const std::string& name, std::string& base, std::string& extension)
{
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.size() - dot <= kMaxExtension) {
        base = name.substr(0, dot);
        extension = name.substr(dot);
    } else {
        base = name;
        extension.clear();
    }
}

bool CFileSpec::Exists() const
{
    try {
        COpenFile::OpenForReading(FullPath());
        return true;
    } catch (const XCreateFailed&) {
        return false;
    }
}

bool CFileSpec::NameTaken() const
{
    struct stat st {};
    return ::lstat(FullPath().c_str(), &st) == 0;
}

void CFileSpec::Delete() const
{
    if (::unlink(FullPath().c_str()) != 0) {
        if (errno == ENOENT)
            throw XFileNotFound();
        throw XFile();
    }
}

FileInfo CFileSpec::Info() const
{
    struct stat st {};
    if (::stat(FullPath().c_str(), &st) != 0) {
        if (errno == ENOENT)
            throw XFileNotFound();
        throw XFile();
    }
    FileInfo info;
    info.size = st.st_size;
    info.modified = ToTimePoint(st.st_mtim);
    info.accessed = ToTimePoint(st.st_atim);
    info.statusChanged = ToTimePoint(st.st_ctim);
    return info;
}

std::unique_ptr<CMedia> CFileSpec::OpenForReading() const { return COpenFile::OpenForReading(FullPath()); }

std::unique_ptr<CMedia> CFileSpec::OpenForWriting() const { return COpenFile::CreateForWriting(FullPath()); }

} // namespace quorvel
