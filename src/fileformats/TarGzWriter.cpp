#include "fileformats/TarGzWriter.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace quorvel {

namespace {

constexpr size_t kBlock = 512;
constexpr int kGzipWindow = 15 + 16; // deflate with a gzip header and trailer

// An octal number in `width` - 1 digits and a terminating zero byte.
void PutOctal(char* field, size_t width, uint64_t value)
{
    field[width - 1] = '\0';
    for (size_t i = width - 1; i-- > 0; value >>= 3)
        field[i] = static_cast<char>('0' + (value & 7));
}

} // namespace

struct CTarGzWriter::Stream {
    z_stream z{};
    bool open = false;
    std::array<uint8_t, 16384> out{};
};

CTarGzWriter::CTarGzWriter(CMedia& media, std::time_t modified)
    : stream_(std::make_unique<Stream>()), media_(media), modified_(modified)
{
    if (deflateInit2(&stream_->z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindow, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw XWrite();
    stream_->open = true;
}

CTarGzWriter::~CTarGzWriter()
{
    if (stream_->open)
        deflateEnd(&stream_->z);
}

void CTarGzWriter::Put(const void* data, size_t size, bool finish)
{
    z_stream& z = stream_->z;
    z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    z.avail_in = static_cast<uInt>(size);
    int result = Z_OK;
    do {
        z.next_out = stream_->out.data();
        z.avail_out = static_cast<uInt>(stream_->out.size());
        result = deflate(&z, finish ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_STREAM_ERROR)
            throw XWrite();
        const size_t produced = stream_->out.size() - z.avail_out;
        media_.Write(static_cast<int32_t>(produced), stream_->out.data());
    } while (z.avail_out == 0 || (finish && result != Z_STREAM_END));
}

void CTarGzWriter::AddHeader(const std::string& path, uint64_t size, char type)
{
    std::array<char, kBlock> header{};
    std::string prefix;
    std::string name = path;
    if (name.size() > 100) {
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos || slash > 155 || path.size() - slash - 1 > 100)
            throw XWrite();
        prefix = path.substr(0, slash);
        name = path.substr(slash + 1);
    }
    std::memcpy(&header[0], name.data(), name.size());
    PutOctal(&header[100], 8, type == '5' ? 0755 : 0644);
    PutOctal(&header[108], 8, 0);
    PutOctal(&header[116], 8, 0);
    PutOctal(&header[124], 12, size);
    PutOctal(&header[136], 12, static_cast<uint64_t>(std::max<std::time_t>(modified_, 0)));
    header[156] = type;
    std::memcpy(&header[257], "ustar", 6);
    std::memcpy(&header[263], "00", 2);
    std::memcpy(&header[345], prefix.data(), prefix.size());
    // The checksum counts its own field as blanks.
    std::memset(&header[148], ' ', 8);
    unsigned sum = 0;
    for (const char c : header)
        sum += static_cast<unsigned char>(c);
    PutOctal(&header[148], 7, sum);
    header[155] = ' ';
    Put(header.data(), header.size());
}

void CTarGzWriter::AddFolder(const std::string& path) { AddHeader(path + "/", 0, '5'); }

void CTarGzWriter::AddFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    AddHeader(path, bytes.size(), '0');
    Put(bytes.data(), bytes.size());
    const std::array<uint8_t, kBlock> padding{};
    if (bytes.size() % kBlock != 0)
        Put(padding.data(), kBlock - bytes.size() % kBlock);
}

void CTarGzWriter::Finish()
{
    const std::array<uint8_t, 2 * kBlock> end{};
    Put(end.data(), end.size(), true);
}

} // namespace quorvel
