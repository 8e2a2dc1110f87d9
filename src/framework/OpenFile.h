#pragma once
// A media stream over an open file. Counts and positions are 32-bit like every
// format we read; a short read or write is a failure, never a partial result.
#include <cstdint>
#include <string>

#include "framework/Media.h"
#include "framework/FileExceptions.h"

namespace quorvel {

class COpenFile : public CMedia {
public:
    // Existing regular file, read-only. Anything else (missing, a folder, a
    // device or pipe that could block us) throws XCreateFailed.
    static std::unique_ptr<COpenFile> OpenForReading(const std::string& path);
    // Creates the file or truncates an existing one; XCreateFailed on failure.
    static std::unique_ptr<COpenFile> CreateForWriting(const std::string& path);

    // Takes ownership of an open descriptor.
    explicit COpenFile(int fd) : fd_(fd) {}
    ~COpenFile() override;
    COpenFile(const COpenFile&) = delete;
    COpenFile& operator=(const COpenFile&) = delete;

    void Read(int32_t count, void* buffer) override;
    void Write(int32_t count, const void* buffer) override;
    int32_t GetPosition() override;
    void SetPosition(int32_t position) override;
    int32_t GetLength() override;

    // Flushes written data to the device; XWrite on failure.
    void Sync();
    // Closes now so that a late write error is reported (XWrite) instead of
    // lost in the destructor. Further operations fail.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace quorvel
