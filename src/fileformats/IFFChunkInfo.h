#pragma once
// Describes one chunk or group found or begun by the second-generation
// reader and writer.
#include <cstdint>

#include "framework/FourCC.h"

namespace quorvel {

struct IFFChunkInfo {
    enum Kind : int32_t { kChunk = 0, kForm = 1, kCat = 2, kList = 3, kRiff = 4 };

    int32_t kind = kChunk;
    char groupId[5] = {}; // filled for kRiff only
    char name[5] = {};    // chunk identifier, or the group's type
    uint32_t start = 0;   // position of the header in the media
    uint32_t size = 0;    // payload size; for groups without the 4-byte type

    // 8 for a plain chunk, 12 for a group; XBase for an unknown kind.
    uint32_t HeaderSize() const;
    uint64_t PayloadStart() const { return uint64_t(start) + HeaderSize(); }
    // End of the payload, before any pad byte.
    uint64_t End() const { return PayloadStart() + size; }

    FourCC Name() const { return FourCC::FromBytes(name); }
    void SetName(FourCC code)
    {
        code.CopyTo(name);
        name[4] = '\0';
    }
};

} // namespace quorvel
