#pragma once
// A gzip-compressed tar archive (POSIX ustar) written as a stream: folders
// and files go in one after the other and are compressed as they come.
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "framework/Media.h"

namespace quorvel {

class CTarGzWriter {
public:
    // Entries carry `modified` as their time.
    CTarGzWriter(CMedia& media, std::time_t modified);
    ~CTarGzWriter();
    CTarGzWriter(const CTarGzWriter&) = delete;
    CTarGzWriter& operator=(const CTarGzWriter&) = delete;

    // Paths use '/', folders without a trailing one. A path ustar cannot
    // hold (a name over 100 bytes after a folder part over 155) throws XWrite.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::vector<uint8_t>& bytes);
    // The end-of-archive blocks and the gzip trailer; nothing may follow.
    void Finish();

private:
    void AddHeader(const std::string& path, uint64_t size, char type);
    void Put(const void* data, size_t size, bool finish = false);

    struct Stream;
    std::unique_ptr<Stream> stream_;
    CMedia& media_;
    std::time_t modified_;
};

} // namespace quorvel
