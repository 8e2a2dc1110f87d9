#include "devices/emulated/KurzweilBodies.h"

#include <algorithm>

#include "devices/emulated/KurzweilMemory.h"

namespace quorvel {

namespace {

uint32_t Big16(const std::vector<uint8_t>& body, size_t at) { return static_cast<uint32_t>(body[at] << 8 | body[at + 1]); }

// A 48-byte common part (8, 2, layer count, ...) and 224 bytes per layer.
bool ProgramFits(const std::vector<uint8_t>& body)
{
    if (body.size() < 48 || body[0] != 8 || body[1] != 2 || body[2] > 32)
        return false;
    return body.size() == 48 + 224u * body[2];
}

// A 28-byte header and up to 8 tables of entries; each level's offset
// points at the start of one table.
bool KeymapFits(const std::vector<uint8_t>& body)
{
    if (body.size() < 28)
        return false;
    const uint32_t entries = Big16(body, 8) + 1;
    const uint32_t entrySize = Big16(body, 10);
    if (entries > 128 || entrySize < 6)
        return false;
    const uint32_t tableBytes = entries * entrySize;
    uint32_t tables = 0;
    for (uint32_t level = 0; level < 8; ++level) {
        // From the level's own field (at 12 + 2 level) to its table.
        const int64_t fromFirst = static_cast<int64_t>(Big16(body, 12 + 2 * level)) + 2 * level - 16;
        if (fromFirst < 0 || fromFirst % tableBytes != 0 || fromFirst / tableBytes > 7)
            return false;
        tables = std::max<uint32_t>(tables, static_cast<uint32_t>(fromFirst / tableBytes) + 1);
    }
    return body.size() == 28 + static_cast<size_t>(tables) * tableBytes;
}

// A 12-byte header and one 32-byte sound header per sound.
bool SoundBlockFits(const std::vector<uint8_t>& body)
{
    if (body.size() < 44 || Big16(body, 4) != 8)
        return false;
    const uint32_t sounds = Big16(body, 2) + 1;
    return sounds <= 128 && body.size() == 12 + 32u * sounds;
}

} // namespace

bool KurzweilBodyHoldsTogether(uint16_t type, const std::vector<uint8_t>& body)
{
    switch (type) {
    case kurzweil::kProgram:
        return ProgramFits(body);
    case kurzweil::kKeymap:
        return KeymapFits(body);
    case kurzweil::kSoundBlock:
        return SoundBlockFits(body);
    default:
        return true;
    }
}

} // namespace quorvel
