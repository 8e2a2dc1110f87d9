#include "fileformats/IFFWriter.h"

namespace quorvel {

CMedia& CIFFWriter::Media()
{
    if (!media_)
        throw XBase();
    return *media_;
}

void CIFFWriter::BeginGroup(FourCC groupId, FourCC type)
{
    if (groupPosition_ != kOpenMarker)
        throw XBase();
    CMedia& media = Media();
    const int32_t at = media.GetPosition();
    uint8_t header[12];
    groupId.CopyTo(header);
    Put32(order_, header + 4, kOpenMarker);
    type.CopyTo(header + 8);
    media.Write(sizeof header, header);
    groupPosition_ = static_cast<uint32_t>(at);
}

void CIFFWriter::BeginChunk(FourCC id)
{
    if (chunkPosition_ != kOpenMarker)
        throw XBase();
    CMedia& media = Media();
    const int32_t at = media.GetPosition();
    uint8_t header[8];
    id.CopyTo(header);
    Put32(order_, header + 4, kOpenMarker);
    media.Write(sizeof header, header);
    chunkPosition_ = static_cast<uint32_t>(at);
}

void CIFFWriter::EndGroup() { Patch(groupPosition_); }

void CIFFWriter::EndChunk() { Patch(chunkPosition_); }

// Ending something that was never begun, or after the stream was moved back
// before its header, would scribble a size somewhere in the file.
void CIFFWriter::Patch(uint32_t& headerPosition)
{
    if (headerPosition == kOpenMarker)
        throw XBase();
    CMedia& media = Media();
    const int32_t q = media.GetPosition();
    const int64_t size = int64_t(q) - headerPosition - 8;
    if (size < 0)
        throw XBase();
    uint8_t bytes[4];
    Put32(order_, bytes, static_cast<uint32_t>(size));
    media.SetPosition(static_cast<int32_t>(headerPosition + 4));
    media.Write(4, bytes);
    media.SetPosition(q);
    headerPosition = kOpenMarker;
}

void CIFFWriter::WriteChunk(FourCC id, const void* data, int32_t length)
{
    BeginChunk(id);
    Write(length, data);
    EndChunk();
}

void CIFFWriter::Write(int32_t length, const void* data) { Media().Write(length, data); }

} // namespace quorvel
