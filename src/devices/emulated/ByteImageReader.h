#pragma once
// Reads an emulator's memory file back from its bytes. A read past the end
// marks the reader broken and gives nothing; a file that broke it, or that
// has bytes left over, is not one of ours.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel {

struct SByteImageReader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;
    bool broken = false;

    std::vector<uint8_t> Take(size_t count)
    {
        if (broken || count > bytes.size() - at) {
            broken = true;
            return {};
        }
        std::vector<uint8_t> taken(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
        at += count;
        return taken;
    }
    // A number of `count` bytes, least significant first.
    uint32_t LE(int count)
    {
        const std::vector<uint8_t> taken = Take(static_cast<size_t>(count));
        uint32_t value = 0;
        for (size_t i = taken.size(); i > 0; --i)
            value = value << 8 | taken[i - 1];
        return value;
    }
    // Every byte read, and no more.
    bool Whole() const { return !broken && at == bytes.size(); }
};

} // namespace quorvel
