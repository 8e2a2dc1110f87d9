#pragma once
// Reading back what the exports wrote: the chunk list of a file, and the
// samples sox decodes from it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "TestFiles.h"
#include "fileformats/ByteOrder.h"

namespace quorvel::test {

struct ChunkAt {
    std::string id;
    size_t payload; // offset in the file
    uint32_t size;
};

// Top-level chunks of a big-endian group.
inline std::vector<ChunkAt> ChunksOf(const Bytes& file)
{
    std::vector<ChunkAt> chunks;
    for (size_t at = 12; at + 8 <= file.size(); at += 8 + chunks.back().size)
        chunks.push_back({std::string(&file[at], &file[at] + 4), at + 8, GetBE32(&file[at + 4])});
    return chunks;
}

inline std::vector<int16_t> BigEndianValues(const Bytes& file, size_t at, size_t count)
{
    std::vector<int16_t> values(count);
    for (size_t i = 0; i < count; ++i)
        values[i] = int16_t(GetBE16(&file[at + 2 * i]));
    return values;
}

inline bool HaveSox() { return std::filesystem::exists("/usr/bin/sox"); }

// Samples sox decodes from `path` (read as `type`).
inline std::vector<int16_t> SoxSamples(const std::string& path, const std::string& type, const std::string& scratch)
{
    const std::string command =
        "sox -D -t " + type + " '" + path + "' -t raw -e signed-integer -b 16 -B '" + scratch + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const Bytes raw = ReadBytes(scratch);
    return BigEndianValues(raw, 0, raw.size() / 2);
}

} // namespace quorvel::test
