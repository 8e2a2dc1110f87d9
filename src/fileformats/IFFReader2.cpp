#include "fileformats/IFFReader2.h"

#include <climits>

namespace quorvel {

namespace {

int32_t KindOf(FourCC id)
{
    if (id == FourCC("FORM"))
        return IFFChunkInfo::kForm;
    if (id == FourCC("CAT "))
        return IFFChunkInfo::kCat;
    if (id == FourCC("LIST"))
        return IFFChunkInfo::kList;
    return IFFChunkInfo::kChunk; // "RIFF" included: it is never read as a group
}

} // namespace

CIFFReader2::CIFFReader2(CMedia& media, ByteOrder order) : media_(&media), order_(order)
{
    const int32_t length = media.GetLength();
    mediaSize_ = length > 0 ? static_cast<uint32_t>(length) : 0;
}

CIFFReader2::CIFFReader2(CIFFReader2& parent, const IFFChunkInfo& chunk)
    : parent_(&parent), media_(nullptr), mediaSize_(chunk.size), chunk_(chunk), order_(parent.order_)
{
    if (chunk.End() > parent.mediaSize_)
        throw XBadFormat();
    ownedMedia_ = std::make_unique<CPartialMedia>(*parent.media_, static_cast<int32_t>(chunk.PayloadStart()),
                                                  static_cast<int32_t>(chunk.size));
    media_ = ownedMedia_.get();
}

IFFChunkInfo CIFFReader2::DecodeHeaderAt(uint32_t position)
{
    IFFChunkInfo info;
    info.start = position;
    if (uint64_t(position) + 8 > mediaSize_)
        throw XBadFormat();
    uint8_t header[8];
    media_->SetPosition(static_cast<int32_t>(position));
    media_->Read(sizeof header, header);
    const FourCC id = FourCC::FromBytes(header);
    const uint32_t stored = Get32(order_, header + 4);
    info.kind = KindOf(id);
    if (info.kind == IFFChunkInfo::kChunk) {
        info.SetName(id);
        info.size = stored;
    } else {
        // A group too small to hold its own type, or cut off inside it.
        if (stored < 4 || uint64_t(position) + 12 > mediaSize_)
            throw XBadFormat();
        uint8_t type[4];
        media_->Read(sizeof type, type);
        info.SetName(FourCC::FromBytes(type));
        info.size = stored - 4;
    }
    if (info.End() > mediaSize_)
        throw XBadFormat();
    return info;
}

bool CIFFReader2::ValidateFile(CMedia& media, ByteOrder order)
{
    try {
        CIFFReader2 reader(media, order);
        IFFChunkInfo first;
        if (!reader.FirstChunk(first))
            return false;
        return first.kind >= IFFChunkInfo::kForm && first.kind <= IFFChunkInfo::kList &&
               first.End() == reader.mediaSize_;
    } catch (const XBadFormat&) {
        return false;
    } catch (const XRead&) {
        return false;
    }
}

bool CIFFReader2::FirstChunk(IFFChunkInfo& out)
{
    if (mediaSize_ < 8)
        return false;
    out = DecodeHeaderAt(0);
    return true;
}

bool CIFFReader2::NextChunk(const IFFChunkInfo& current, IFFChunkInfo& out)
{
    uint64_t p = current.End();
    if (p & 1)
        ++p;
    if (p == mediaSize_)
        return false;
    if (p > mediaSize_)
        throw XBadFormat(); // the chunk or its pad runs past the end
    out = DecodeHeaderAt(static_cast<uint32_t>(p));
    return true;
}

bool CIFFReader2::FindItem(int32_t kind, FourCC name, IFFChunkInfo& out)
{
    IFFChunkInfo item;
    if (!FirstChunk(item))
        return false;
    // Each step moves at least one header forward, so the walk ends.
    for (;;) {
        if (item.kind == kind && item.Name() == name) {
            out = item;
            return true;
        }
        if (!NextChunk(item, item))
            return false;
    }
}

bool CIFFReader2::FindChunk(FourCC id, IFFChunkInfo& out) { return FindItem(IFFChunkInfo::kChunk, id, out); }

bool CIFFReader2::FindGroup(FourCC type, IFFChunkInfo& out) { return FindItem(IFFChunkInfo::kCat, type, out); }

void CIFFReader2::ReadChunkData(const IFFChunkInfo& chunk, void* buffer, uint32_t capacity)
{
    if (chunk.size > capacity || chunk.End() > mediaSize_)
        throw XBadFormat();
    media_->SetPosition(static_cast<int32_t>(chunk.PayloadStart()));
    media_->Read(static_cast<int32_t>(chunk.size), buffer);
}

std::unique_ptr<CIFFReader2> CIFFReader2::OpenOnChunk(const IFFChunkInfo& chunk)
{
    return std::make_unique<CIFFReader2>(*this, chunk);
}

} // namespace quorvel
