#include "fileformats/IFFReader.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace quorvel {

namespace {

constexpr uint64_t kGroupHeader = 12;
constexpr uint64_t kChunkHeader = 8;
constexpr int64_t kBlock = 64 * 1024;
// Files name a handful of identifiers; a hostile one may name millions.
// Beyond this many the index stops growing, and lookups of identifiers it
// does not hold walk on from the first one it left out.
constexpr size_t kMaxIndexed = 64;

// An identifier as one word, for a quick scan.
uint32_t Key(FourCC id)
{
    uint32_t key = 0;
    id.CopyTo(&key);
    return key;
}

} // namespace

// Serves chunk headers from blocks read ahead, so that a walk over many small
// chunks costs one read per block instead of a read and a seek per header.
class CIFFReader::CHeaderCursor {
public:
    explicit CHeaderCursor(CMedia& media) : media_(media), length_(media.GetLength()) {}

    // False when the header lies (partly) beyond the end of the media.
    bool Read(uint64_t position, uint8_t header[kChunkHeader])
    {
        if (position + kChunkHeader > uint64_t(length_))
            return false;
        const auto at = static_cast<int64_t>(position);
        if (start_ < 0 || at < start_ || at + int64_t(kChunkHeader) > start_ + filled_) {
            filled_ = std::min<int64_t>(kBlock, length_ - at);
            block_.resize(static_cast<size_t>(filled_));
            media_.ReadAt(static_cast<int32_t>(at), static_cast<int32_t>(filled_), block_.data());
            start_ = at;
        }
        std::memcpy(header, block_.data() + (at - start_), kChunkHeader);
        return true;
    }

private:
    CMedia& media_;
    int64_t length_;
    std::vector<uint8_t> block_;
    int64_t start_ = -1;
    int64_t filled_ = 0;
};

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

void CIFFReader::SetGroupId(FourCC id)
{
    groupId_ = id;
    Forget();
}

void CIFFReader::ClearPad()
{
    pad_ = false;
    Forget();
}

void CIFFReader::SetLittleEndian()
{
    order_ = ByteOrder::Little;
    Forget();
}

// The walk: every header from the first after the group header on. All
// arithmetic is 64-bit, so a hostile size near 4 GB moves the walk past the
// end instead of wrapping it back to the start. A header ending exactly at
// the end of the data is not examined; positions past what a 32-bit stream
// can address hold no chunk. A header to examine that lies beyond the end of
// the media is a truncated file: lookups that reach it fail with XRead.
namespace {

enum class WalkEnd { Visitor, End, Truncated };

template <class Cursor, class Visit>
WalkEnd Walk(uint64_t from, uint64_t end, bool pad, ByteOrder order, bool first, Cursor& cursor, Visit visit,
             uint64_t& stoppedAt)
{
    uint64_t p = from;
    if (first && p + kChunkHeader > end) // not even one header inside the group
        return WalkEnd::End;
    for (;;) {
        uint8_t bytes[kChunkHeader];
        if (!cursor.Read(p, bytes))
            return WalkEnd::Truncated;
        const uint32_t size = Get32(order, bytes + 4);
        if (visit(p, FourCC::FromBytes(bytes), size))
            return WalkEnd::Visitor;
        p += size + kChunkHeader;
        if (pad && (size & 1))
            ++p;
        stoppedAt = p;
        if (p + kChunkHeader >= end || p + kChunkHeader > uint64_t(INT32_MAX))
            return WalkEnd::End;
    }
}

} // namespace

void CIFFReader::Index()
{
    chunks_.clear();
    keys_.clear();
    unindexedFrom_ = 0;
    endsWithEmpty_ = false;
    truncated_ = false;
    const uint64_t end = ReadGroupHeader().endOfData;
    CHeaderCursor cursor(media_);
    uint64_t stoppedAt = kGroupHeader;
    const WalkEnd how = Walk(kGroupHeader, end, pad_, order_, true, cursor,
                             [this](uint64_t p, FourCC id, uint32_t size) {
                                 if (Indexed(id) != nullptr)
                                     return false;
                                 if (chunks_.size() < kMaxIndexed)
                                     Keep({id, static_cast<uint32_t>(p + kChunkHeader), size});
                                 else if (unindexedFrom_ == 0)
                                     unindexedFrom_ = p;
                                 return false;
                             },
                             stoppedAt);
    truncated_ = how == WalkEnd::Truncated;
    uint8_t last[kChunkHeader];
    if (how == WalkEnd::End && stoppedAt + kChunkHeader == end && cursor.Read(stoppedAt, last) &&
        Get32(order_, last + 4) == 0) {
        endsWithEmpty_ = true;
        lastEmptyId_ = FourCC::FromBytes(last);
    }
    indexed_ = true;
}

void CIFFReader::Keep(const ChunkEntry& entry)
{
    chunks_.push_back(entry);
    keys_.push_back(Key(entry.id));
}

// Runs for every header of the walk: a plain scan of a few dozen words.
const CIFFReader::ChunkEntry* CIFFReader::Indexed(FourCC id) const
{
    const auto found = std::find(keys_.begin(), keys_.end(), Key(id));
    return found == keys_.end() ? nullptr : &chunks_[static_cast<size_t>(found - keys_.begin())];
}

bool CIFFReader::SearchFrom(uint64_t position, FourCC id, ChunkEntry& found)
{
    const uint64_t end = ReadGroupHeader().endOfData;
    CHeaderCursor cursor(media_);
    uint64_t stoppedAt = position;
    const WalkEnd how = Walk(position, end, pad_, order_, false, cursor,
                             [&](uint64_t p, FourCC seen, uint32_t size) {
                                 if (seen != id)
                                     return false;
                                 found = {seen, static_cast<uint32_t>(p + kChunkHeader), size};
                                 return true;
                             },
                             stoppedAt);
    if (how == WalkEnd::Truncated)
        throw XRead();
    return how == WalkEnd::Visitor;
}

bool CIFFReader::FindChunk(FourCC id, uint32_t& payloadSize)
{
    // The group header is checked on every call, as a caller may hand over a
    // media whose first bytes it has not looked at.
    ReadGroupHeader();
    if (!indexed_)
        Index();
    ChunkEntry found{};
    if (const ChunkEntry* entry = Indexed(id))
        found = *entry;
    else if (unindexedFrom_ == 0 || !SearchFrom(unindexedFrom_, id, found)) {
        if (truncated_)
            throw XRead();
        return false;
    }
    media_.SetPosition(static_cast<int32_t>(found.payload));
    payloadSize = found.size;
    return true;
}

bool CIFFReader::EndsWithEmptyChunk(FourCC id)
{
    ReadGroupHeader();
    if (!indexed_)
        Index();
    return endsWithEmpty_ && lastEmptyId_ == id;
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
