#pragma once
// Second-generation chunk writer: nested groups and chunks, each ended through
// its descriptor, which patches the size and pads an odd payload with a zero
// byte. CRIFFWriter2 writes little-endian sizes and may begin "RIFF" groups.
#include <memory>

#include "framework/Media.h"
#include "fileformats/ByteOrder.h"
#include "fileformats/IFFChunkInfo.h"

namespace quorvel {

class CIFFWriter2 {
public:
    CIFFWriter2(CMedia& media, ByteOrder order);
    // A writer on the payload of one of the parent's chunks, starting empty
    // and growing while it is written.
    CIFFWriter2(CIFFWriter2& parent, const IFFChunkInfo& chunk);
    virtual ~CIFFWriter2() = default;
    CIFFWriter2(const CIFFWriter2&) = delete;
    CIFFWriter2& operator=(const CIFFWriter2&) = delete;

    IFFChunkInfo BeginCat(FourCC type) { return BeginGroup(IFFChunkInfo::kCat, "CAT ", type); }
    IFFChunkInfo BeginList(FourCC type) { return BeginGroup(IFFChunkInfo::kList, "LIST", type); }
    IFFChunkInfo BeginChunk(FourCC id);
    void End(const IFFChunkInfo& chunk);
    void WriteChunk(FourCC id, int32_t length, const void* data);
    void Write(int32_t length, const void* data) { media_->Write(length, data); }
    std::unique_ptr<CIFFWriter2> OpenOnChunk(const IFFChunkInfo& chunk);

    CMedia& Media() { return *media_; }
    CIFFWriter2* Parent() const { return parent_; }
    // The chunk this writer was opened on; empty at top level.
    const IFFChunkInfo& Chunk() const { return chunk_; }

protected:
    IFFChunkInfo BeginGroup(int32_t kind, FourCC groupId, FourCC type);

private:
    CIFFWriter2* parent_ = nullptr;
    std::unique_ptr<CMedia> ownedMedia_;
    CMedia* media_;
    IFFChunkInfo chunk_{};
    ByteOrder order_;
};

class CRIFFWriter2 : public CIFFWriter2 {
public:
    explicit CRIFFWriter2(CMedia& media) : CIFFWriter2(media, ByteOrder::Little) {}
    IFFChunkInfo BeginRiff(FourCC type) { return BeginGroup(IFFChunkInfo::kRiff, "RIFF", type); }
};

} // namespace quorvel
