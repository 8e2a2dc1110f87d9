#include "framework/GrowingMemoryMedia.h"

#include <climits>
#include <cstring>
#include <new>

namespace quorvel {

void CGrowingMemoryMedia::Read(int32_t count, void* buffer)
{
    if (count < 0 || int64_t(position_) + count > int64_t(bytes_.size()))
        throw XRead();
    if (count > 0) // an empty stream has no block to copy from
        std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(count));
    position_ += count;
}

void CGrowingMemoryMedia::Write(int32_t count, const void* buffer)
{
    const int64_t end = int64_t(position_) + count;
    if (count < 0 || end > INT32_MAX)
        throw XWrite();
    try {
        if (end > int64_t(bytes_.size()))
            bytes_.resize(static_cast<size_t>(end));
    } catch (const std::bad_alloc&) {
        throw XOutOfMemory();
    }
    if (count > 0)
        std::memcpy(bytes_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = static_cast<int32_t>(end);
}

// Positions beyond the end are allowed, as in a file: a later write fills
// the gap with zeros.
void CGrowingMemoryMedia::SetPosition(int32_t position)
{
    if (position < 0)
        throw XPosition();
    position_ = position;
}

} // namespace quorvel
