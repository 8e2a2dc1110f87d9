#include "fileformats/IFFReader.h"

#include <climits>

namespace quorvel {

namespace {
constexpr uint64_t kGroupHeader = 12;
constexpr uint64_t kChunkHeader = 8;
} // namespace

CIFFReader::GroupHeader CIFFReader::ReadGroupHeader()
{
    uint8_t header[kGroupHeader];
    media_.ReadAt(0, sizeof header, header);
    const uint32_t size = Get32(order_, header + 4);
    if (FourCC::FromBytes(header) != groupId_ || size < 4)
        throw XBadFormat();
    return {uint64_t(size) + kChunkHeader, FourCC::FromBytes(header + 8)};
}

FourCC CIFFReader::GroupType() { return ReadGroupHeader().type; }

bool CIFFReader::FindChunk(FourCC id, uint32_t& payloadSize)
{
    const uint64_t end = ReadGroupHeader().endOfData;
    // All arithmetic is 64-bit: a hostile size near 4 GB must move the walk
    // past the end, not wrap it back to the start.
    uint64_t p = kGroupHeader;
    if (p + kChunkHeader > end) // not even one header inside the group
        return false;
    for (;;) {
        uint8_t header[kChunkHeader];
        media_.Read(sizeof header, header);
        const uint32_t size = Get32(order_, header + 4);
        if (FourCC::FromBytes(header) == id) {
            payloadSize = size;
            return true;
        }
        p += size + kChunkHeader;
        if (pad_ && (size & 1))
            ++p;
        // A header ending exactly at the end of the data is not examined.
        // Positions past what a 32-bit stream can address cannot hold a chunk.
        if (p + kChunkHeader >= end || p + kChunkHeader > uint64_t(INT32_MAX))
            return false;
        media_.SetPosition(static_cast<int32_t>(p));
    }
}

bool CIFFReader::ReadChunk(FourCC id, void* buffer, uint32_t offset, uint32_t count)
{
    uint32_t size = 0;
    if (!FindChunk(id, size))
        return false;
    if (uint64_t(offset) + count > size || count > uint32_t(INT32_MAX) || offset > uint32_t(INT32_MAX))
        throw XRead();
    media_.Skip(static_cast<int32_t>(offset));
    media_.Read(static_cast<int32_t>(count), buffer);
    return true;
}

} // namespace quorvel
