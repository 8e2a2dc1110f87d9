#include "fileformats/IFFChunkInfo.h"

#include "framework/XBase.h"

namespace quorvel {

uint32_t IFFChunkInfo::HeaderSize() const
{
    if (kind == kChunk)
        return 8;
    if (kind >= kForm && kind <= kRiff)
        return 12;
    throw XBase();
}

} // namespace quorvel
