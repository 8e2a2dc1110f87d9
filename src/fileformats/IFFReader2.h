#pragma once
// Second-generation chunk reader: walks the items of a media one by one,
// descends into groups, and validates whole files. Every descriptor it hands
// out lies inside its media; anything claiming more throws XBadFormat.
#include <memory>

#include "framework/Media.h"
#include "fileformats/ByteOrder.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/IFFChunkInfo.h"

namespace quorvel {

class CIFFReader2 {
public:
    CIFFReader2(CMedia& media, ByteOrder order);
    // A reader on the inside of one of the parent's chunks or groups.
    CIFFReader2(CIFFReader2& parent, const IFFChunkInfo& chunk);
    virtual ~CIFFReader2() = default;
    CIFFReader2(const CIFFReader2&) = delete;
    CIFFReader2& operator=(const CIFFReader2&) = delete;

    // The first item is a group whose header and size cover the media
    // exactly. Malformed or truncated files are simply not valid.
    static bool ValidateFile(CMedia& media, ByteOrder order);

    bool FirstChunk(IFFChunkInfo& out);
    bool NextChunk(const IFFChunkInfo& current, IFFChunkInfo& out);
    // First plain chunk with this identifier among this reader's items.
    bool FindChunk(FourCC id, IFFChunkInfo& out);
    // First "CAT " group of this type among this reader's items.
    bool FindGroup(FourCC type, IFFChunkInfo& out);
    // Reads the whole payload; a payload larger than `capacity` is
    // XBadFormat rather than a buffer overrun.
    void ReadChunkData(const IFFChunkInfo& chunk, void* buffer, uint32_t capacity);
    std::unique_ptr<CIFFReader2> OpenOnChunk(const IFFChunkInfo& chunk);

    CMedia& Media() { return *media_; }
    uint32_t MediaSize() const { return mediaSize_; }
    CIFFReader2* Parent() const { return parent_; }
    // The chunk this reader was opened on; empty at top level.
    const IFFChunkInfo& Chunk() const { return chunk_; }

private:
    IFFChunkInfo DecodeHeaderAt(uint32_t position);
    bool FindItem(int32_t kind, FourCC name, IFFChunkInfo& out);

    CIFFReader2* parent_ = nullptr;
    std::unique_ptr<CMedia> ownedMedia_;
    CMedia* media_;
    // Kept apart from the media: a window of length 0 would report the rest
    // of its base as its length.
    uint32_t mediaSize_ = 0;
    IFFChunkInfo chunk_{};
    ByteOrder order_;
};

} // namespace quorvel
