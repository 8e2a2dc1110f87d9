#include "framework/OpenFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

// Opens `path` and makes sure it is a regular file. O_NONBLOCK keeps a named
// pipe from stalling the open; it is cleared again for normal blocking I/O.
int OpenRegular(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        throw XCreateFailed();
    struct stat st {};
    const int status = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || status < 0 ||
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        ::close(fd);
        throw XCreateFailed();
    }
    return fd;
}

// A full disk gets its own failure: the user can do something about it.
[[noreturn]] void ThrowWriteFailure(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        throw XDiskFull();
    throw XWrite();
}

} // namespace

std::unique_ptr<COpenFile> COpenFile::OpenForReading(const std::string& path)
{
    return std::make_unique<COpenFile>(OpenRegular(path, O_RDONLY));
}

std::unique_ptr<COpenFile> COpenFile::CreateForWriting(const std::string& path)
{
    // Check before truncating: O_TRUNC on a device would be harmless, but a
    // folder or pipe must fail without side effects.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw XCreateFailed();
    return std::make_unique<COpenFile>(OpenRegular(path, O_RDWR | O_CREAT | O_TRUNC));
}

COpenFile::~COpenFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void COpenFile::Read(int32_t count, void* buffer)
{
    if (count < 0)
        throw XRead();
    auto* out = static_cast<char*>(buffer);
    int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, out + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw XRead(); // failure, or the end of the file came first
        done += static_cast<int32_t>(n);
    }
}

void COpenFile::Write(int32_t count, const void* buffer)
{
    if (count < 0)
        throw XWrite();
    const auto* in = static_cast<const char*>(buffer);
    int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, in + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ThrowWriteFailure(n < 0 ? errno : 0);
        done += static_cast<int32_t>(n);
    }
}

int32_t COpenFile::GetPosition()
{
    const off_t at = ::lseek(fd_, 0, SEEK_CUR);
    if (at < 0 || at > INT32_MAX)
        throw XFile();
    return static_cast<int32_t>(at);
}

void COpenFile::SetPosition(int32_t position)
{
    if (position < 0 || ::lseek(fd_, position, SEEK_SET) != position)
        throw XPosition();
}

int32_t COpenFile::GetLength()
{
    struct stat st {};
    // A file beyond 2 GB has no 32-bit length; saying so beats a wrapped value.
    if (::fstat(fd_, &st) != 0 || st.st_size > INT32_MAX)
        throw XPosition();
    return static_cast<int32_t>(st.st_size);
}

void COpenFile::Sync()
{
    if (::fsync(fd_) != 0)
        ThrowWriteFailure(errno);
}

void COpenFile::Close()
{
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    // Linux releases the descriptor even when close reports an error, so
    // there is nothing to retry.
    if (::close(fd) != 0)
        ThrowWriteFailure(errno);
}

} // namespace quorvel
