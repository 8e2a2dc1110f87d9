#pragma once
// First-generation chunk reader: one group per file, chunks searched by
// identifier from the start of the group. IFF (big-endian sizes) by default;
// RIFF_READER reads little-endian "RIFF" files.
#include <cstdint>

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

    void SetGroupId(FourCC id) { groupId_ = id; }
    void ClearPad() { pad_ = false; }
    void SetLittleEndian() { order_ = ByteOrder::Little; }

    CMedia& Media() { return media_; }
    ByteOrder Order() const { return order_; }

private:
    struct GroupHeader {
        uint64_t endOfData;
        FourCC type;
    };
    GroupHeader ReadGroupHeader();

    CMedia& media_;
    bool pad_ = true;
    ByteOrder order_ = ByteOrder::Big;
    FourCC groupId_ = "FORM";
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
