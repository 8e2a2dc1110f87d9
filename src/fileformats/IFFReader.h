#pragma once
// First-generation chunk reader: one group per file, chunks searched by
// identifier from the start of the group. IFF (big-endian sizes) by default;
// RIFF_READER reads little-endian "RIFF" files.
#include <cstdint>
#include <vector>

#include "framework/Media.h"
#include "fileformats/ByteOrder.h"
#include "fileformats/FormatExceptions.h"
#include "framework/FourCC.h"

namespace quorvel {

class CIFFReader {
public:
    explicit CIFFReader(CMedia& media) : media_(media) {}
    virtual ~CIFFReader() = default;

    // Finds the first chunk with this identifier in the group. On success the
    // media stands at its first payload byte. A wrong group identifier or a
    // group size below 4 throws XBadFormat; a missing chunk returns false.
    bool FindChunk(FourCC id, uint32_t& payloadSize);
    // Find, skip `offset` payload bytes, read `count`. A payload too short
    // for that is a read failure (XRead), never a read into the next chunk.
    bool ReadChunk(FourCC id, void* buffer, uint32_t offset, uint32_t count);
    bool ReadChunk(FourCC id, void* buffer, uint32_t count) { return ReadChunk(id, buffer, 0, count); }
    // The group's type ("AIFF", "AIFC", "WAVE"), after the same checks.
    FourCC GroupType();
    // Whether the group's last item is an empty chunk with this identifier:
    // a header that ends exactly at the end of the data, which FindChunk
    // does not examine.
    bool EndsWithEmptyChunk(FourCC id);

    void SetGroupId(FourCC id);
    void ClearPad();
    void SetLittleEndian();

    CMedia& Media() { return media_; }
    ByteOrder Order() const { return order_; }

private:
    struct GroupHeader {
        uint64_t endOfData;
        FourCC type;
    };
    struct ChunkEntry {
        FourCC id;
        uint32_t payload; // position of the first payload byte
        uint32_t size;
    };
    class CHeaderCursor;

    GroupHeader ReadGroupHeader();
    // Walks the group once and keeps the first chunk of each identifier.
    void Index();
    // A walk from `position` for an identifier the index left out (only in
    // files with a great many different identifiers).
    bool SearchFrom(uint64_t position, FourCC id, ChunkEntry& found);
    const ChunkEntry* Indexed(FourCC id) const;
    void Keep(const ChunkEntry& entry);
    void Forget() { indexed_ = false; }

    CMedia& media_;
    bool pad_ = true;
    ByteOrder order_ = ByteOrder::Big;
    FourCC groupId_ = "FORM";

    bool indexed_ = false;
    std::vector<ChunkEntry> chunks_;
    std::vector<uint32_t> keys_; // the identifiers of chunks_, for a quick scan
    uint64_t unindexedFrom_ = 0; // 0: the index holds every identifier
    bool truncated_ = false; // the walk met a header beyond the end of the media
    bool endsWithEmpty_ = false;
    FourCC lastEmptyId_;
};

class CAIFFReader : public CIFFReader {
public:
    explicit CAIFFReader(CMedia& media) : CIFFReader(media) {}
};

class RIFF_READER : public CIFFReader {
public:
    explicit RIFF_READER(CMedia& media) : CIFFReader(media)
    {
        SetGroupId("RIFF");
        SetLittleEndian();
    }
};

class CWaveReader : public RIFF_READER {
public:
    explicit CWaveReader(CMedia& media) : RIFF_READER(media) {}
};

} // namespace quorvel
