#include "framework/SafeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

// Leaves room for the suffix within the 255-byte name limit of Linux file
// systems.
constexpr size_t kMaxNameStem = 200;
constexpr int kCreateAttempts = 64;

// Writing through a symbolic link must replace the file it points to, not the
// link itself.
std::string ResolveTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new, hidden file beside the target. O_EXCL makes sure we never
// reuse (and later delete) somebody else's file.
int CreateTemporary(const std::string& target, std::string& temporaryPath)
{
    static std::atomic<unsigned> counter{0};
    std::random_device entropy;
    const std::string stem = FolderOf(target) + "." + NameOf(target).substr(0, kMaxNameStem);
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        temporaryPath = stem + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                        std::to_string(entropy() & 0xFFFFF) + ".tmp";
        const int fd = ::open(temporaryPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    temporaryPath.clear();
    throw XCreateFailed();
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // the rename itself succeeded; durability of the entry is best effort
    ::fsync(fd);
    ::close(fd);
}

} // namespace

CSafeFileWriter::CSafeFileWriter(const CFileSpec& target) : targetPath_(ResolveTarget(target.FullPath()))
{
    struct stat st {};
    const bool replacing = ::stat(targetPath_.c_str(), &st) == 0;
    if (replacing && !S_ISREG(st.st_mode))
        throw XCreateFailed();
    const int fd = CreateTemporary(targetPath_, temporaryPath_);
    file_ = std::make_unique<COpenFile>(fd);
    // The new file keeps the permissions of the one it replaces.
    if (replacing)
        ::fchmod(fd, st.st_mode & 07777);
}

CSafeFileWriter::~CSafeFileWriter()
{
    if (!committed_)
        Discard();
}

void CSafeFileWriter::Discard() noexcept
{
    file_.reset();
    if (!temporaryPath_.empty())
        ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
}

void CSafeFileWriter::Commit()
{
    if (committed_ || !file_)
        throw XFile();
    try {
        file_->Sync();
        file_->Close();
        if (::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0)
            throw XFile();
    } catch (...) {
        Discard();
        throw;
    }
    committed_ = true;
    SyncFolder(FolderOf(targetPath_));
}

void SafeWrite(const CFileSpec& target, const std::function<void(CMedia&)>& write)
{
    CSafeFileWriter writer(target);
    write(writer.Media());
    writer.Commit();
}

} // namespace quorvel
