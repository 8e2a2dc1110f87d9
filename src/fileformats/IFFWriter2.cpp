#include "fileformats/IFFWriter2.h"

#include <climits>

namespace quorvel {

CIFFWriter2::CIFFWriter2(CMedia& media, ByteOrder order) : media_(&media), order_(order) {}

CIFFWriter2::CIFFWriter2(CIFFWriter2& parent, const IFFChunkInfo& chunk)
    : parent_(&parent), media_(nullptr), chunk_(chunk), order_(parent.order_)
{
    if (chunk.PayloadStart() > uint64_t(INT32_MAX))
        throw XBase();
    ownedMedia_ = std::make_unique<CPartialMedia>(*parent.media_, static_cast<int32_t>(chunk.PayloadStart()), 0);
    media_ = ownedMedia_.get();
    media_->SetPosition(0);
}

IFFChunkInfo CIFFWriter2::BeginGroup(int32_t kind, FourCC groupId, FourCC type)
{
    IFFChunkInfo info;
    info.kind = kind;
    info.start = static_cast<uint32_t>(media_->GetPosition());
    info.SetName(type);
    if (kind == IFFChunkInfo::kRiff) {
        groupId.CopyTo(info.groupId);
        info.groupId[4] = '\0';
    }
    uint8_t header[12] = {};
    groupId.CopyTo(header);
    type.CopyTo(header + 8);
    media_->Write(sizeof header, header);
    return info;
}

IFFChunkInfo CIFFWriter2::BeginChunk(FourCC id)
{
    IFFChunkInfo info;
    info.kind = IFFChunkInfo::kChunk;
    info.start = static_cast<uint32_t>(media_->GetPosition());
    info.SetName(id);
    uint8_t header[8] = {};
    id.CopyTo(header);
    media_->Write(sizeof header, header);
    return info;
}

void CIFFWriter2::End(const IFFChunkInfo& chunk)
{
    const int32_t q = media_->GetPosition();
    // For a group the stored size includes its type.
    const int64_t size = int64_t(q) - chunk.start - 8;
    if (size < 0)
        throw XBase();
    uint8_t bytes[4];
    Put32(order_, bytes, static_cast<uint32_t>(size));
    media_->SetPosition(static_cast<int32_t>(chunk.start + 4));
    media_->Write(4, bytes);
    media_->SetPosition(q);
    if (q & 1)
        media_->WriteByte(0);
}

void CIFFWriter2::WriteChunk(FourCC id, int32_t length, const void* data)
{
    const IFFChunkInfo info = BeginChunk(id);
    CPartialMedia payload(*media_, static_cast<int32_t>(info.PayloadStart()), length);
    payload.SetPosition(0);
    payload.Write(length, data);
    End(info);
}

std::unique_ptr<CIFFWriter2> CIFFWriter2::OpenOnChunk(const IFFChunkInfo& chunk)
{
    return std::make_unique<CIFFWriter2>(*this, chunk);
}

} // namespace quorvel
