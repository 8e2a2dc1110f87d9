#include "framework/SafeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/LiveTemporaryFiles.h"

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

// Temporaries of a target are named "." + name + "." + pid + "-" + count +
// "-" + random + ".tmp"; the name is cut to leave room for the rest.
std::string TemporaryPrefix(const std::string& target)
{
    std::string prefix(1, '.');
    prefix += NameOf(target).substr(0, kMaxNameStem);
    prefix += '.';
    return prefix;
}

bool AllDigits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The writer's pid when `rest` (what follows the prefix) has the form of our
// temporaries' names, else 0.
pid_t WriterOf(const std::string& rest)
{
    const std::string suffix = ".tmp";
    if (rest.size() <= suffix.size() || rest.compare(rest.size() - suffix.size(), suffix.size(), suffix) != 0)
        return 0;
    const std::string fields = rest.substr(0, rest.size() - suffix.size());
    const size_t first = fields.find('-');
    const size_t second = first == std::string::npos ? first : fields.find('-', first + 1);
    if (second == std::string::npos)
        return 0;
    const std::string pid = fields.substr(0, first);
    if (!AllDigits(pid) || pid.size() > 9 || !AllDigits(fields.substr(first + 1, second - first - 1)) ||
        !AllDigits(fields.substr(second + 1)))
        return 0;
    return static_cast<pid_t>(std::stol(pid));
}

// Removes temporaries of `target` whose writer no longer runs: what an
// export killed outright (or a power cut) left behind. A writer that still
// runs, or that we may not signal, keeps its file.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::string folder = FolderOf(target);
    const std::string prefix = TemporaryPrefix(target);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const pid_t writer = WriterOf(name.substr(prefix.size()));
        if (writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH)
            ::unlink((folder + name).c_str());
    }
    ::closedir(dir);
}

// Creates a new, hidden file beside the target. O_EXCL makes sure we never
// reuse (and later delete) somebody else's file.
int CreateTemporary(const std::string& target, std::string& temporaryPath)
{
    static std::atomic<unsigned> counter{0};
    std::random_device entropy;
    const std::string stem = FolderOf(target) + TemporaryPrefix(target);
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        temporaryPath = stem + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
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
    RemoveStaleTemporaries(targetPath_);
    int fd = -1;
    {
        // A terminating signal between creating the file and registering
        // it would leave it behind.
        const CTerminatingSignalsBlocked blocked;
        fd = CreateTemporary(targetPath_, temporaryPath_);
        liveToken_ = RegisterLiveTemporary(temporaryPath_);
    }
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
    ForgetLiveTemporary(liveToken_);
    liveToken_ = -1;
}

void CSafeFileWriter::Finish()
{
    if (committed_ || !file_)
        throw XFile();
    if (!file_->IsOpen())
        return;
    try {
        file_->Sync();
        file_->Close();
    } catch (...) {
        Discard();
        throw;
    }
}

void CSafeFileWriter::Commit()
{
    Finish();
    if (::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
        Discard();
        throw XFile();
    }
    committed_ = true;
    ForgetLiveTemporary(liveToken_);
    liveToken_ = -1;
    SyncFolder(FolderOf(targetPath_));
}

void SafeWrite(const CFileSpec& target, const std::function<void(CMedia&)>& write)
{
    CSafeFileWriter writer(target);
    write(writer.Media());
    writer.Commit();
}

} // namespace quorvel
