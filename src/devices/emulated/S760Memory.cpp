#include "devices/emulated/S760Memory.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "devices/emulated/RolandSysex.h"
#include "framework/FileSpec.h"
#include "framework/Media.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

const std::vector<SS760Region>& S760Regions()
{
    // Blocks counted from the start of the address space: patches from
    // block 128 of 512 bytes (00 04 00 00), partials from block 512 of 256
    // bytes (00 08 00 00), samples from block 2048 of 96 bytes (00 0C 00 00).
    static const std::vector<SS760Region> regions = {
        {s760::kPatchCategory, 128 * 512, 512, 128, "patch"},
        {s760::kPartialCategory, 512 * 256, 256, 256, "partial"},
        {s760::kSampleCategory, 2048 * 96, 96, 512, "sample"},
    };
    return regions;
}

const SS760Region* FindS760Region(uint8_t category)
{
    for (const SS760Region& region : S760Regions())
        if (region.category == category)
            return &region;
    return nullptr;
}

namespace {

const SS760Region* RegionAt(uint32_t address, uint32_t size)
{
    for (const SS760Region& region : S760Regions()) {
        const uint64_t end = uint64_t(region.base) + uint64_t(region.blockBytes) * region.count;
        if (address >= region.base && uint64_t(address) + size <= end)
            return &region;
    }
    return nullptr;
}

bool Unused(const std::vector<uint8_t>& block)
{
    return block.size() < 2 || roland::FromNibblePairs(block.data(), 1)[0] == s760::kUnused;
}

} // namespace

CS760Memory::CS760Memory(std::string folder) : folder_(std::move(folder)), data_(folder_)
{
    if (!folder_.empty())
        Load();
}

std::vector<uint8_t> CS760Memory::UnusedBlock(const SS760Region& region)
{
    std::vector<uint8_t> block(region.blockBytes, 0);
    for (size_t i = 0; i + 1 < block.size() && i < 32; i += 2) {
        block[i] = s760::kUnused >> 4;
        block[i + 1] = s760::kUnused & 0x0F;
    }
    return block;
}

std::string CS760Memory::FileName(const SS760Region& region, uint32_t number)
{
    char name[40];
    std::snprintf(name, sizeof name, "%s-%03u.blk", region.kind, static_cast<unsigned>(number));
    return name;
}

bool CS760Memory::Covers(uint32_t address, uint32_t size) { return size > 0 && RegionAt(address, size); }

bool CS760Memory::Read(uint32_t address, uint32_t size, std::vector<uint8_t>& out) const
{
    const SS760Region* region = size > 0 ? RegionAt(address, size) : nullptr;
    if (!region)
        return false;
    std::lock_guard lock(mutex_);
    out.clear();
    const auto kind = blocks_.find(region->category);
    const std::vector<uint8_t> unused = UnusedBlock(*region);
    for (uint32_t at = address; at < address + size; ++at) {
        const uint32_t number = (at - region->base) / region->blockBytes;
        const uint32_t offset = (at - region->base) % region->blockBytes;
        const std::vector<uint8_t>* block = &unused;
        if (kind != blocks_.end()) {
            const auto found = kind->second.find(number);
            if (found != kind->second.end())
                block = &found->second;
        }
        out.push_back((*block)[offset]);
    }
    return true;
}

void CS760Memory::Write(uint32_t address, const std::vector<uint8_t>& bytes)
{
    const SS760Region* region = RegionAt(address, static_cast<uint32_t>(bytes.size()));
    if (!region || bytes.empty())
        return;
    std::lock_guard lock(mutex_);
    auto& blocks = blocks_[region->category];
    size_t done = 0;
    while (done < bytes.size()) {
        const uint32_t at = address + static_cast<uint32_t>(done);
        const uint32_t number = (at - region->base) / region->blockBytes;
        const uint32_t offset = (at - region->base) % region->blockBytes;
        const size_t count = std::min<size_t>(region->blockBytes - offset, bytes.size() - done);
        const auto found = blocks.find(number);
        std::vector<uint8_t> block = found != blocks.end() ? found->second : UnusedBlock(*region);
        std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(done),
                  bytes.begin() + static_cast<std::ptrdiff_t>(done + count), block.begin() + offset);
        Keep(*region, number, block);
        done += count;
    }
}

void CS760Memory::Keep(const SS760Region& region, uint32_t number, const std::vector<uint8_t>& block)
{
    auto& blocks = blocks_[region.category];
    if (Unused(block)) {
        // The slot is freed: a sample goes with its data.
        if (!folder_.empty()) {
            std::error_code error;
            std::filesystem::remove(std::filesystem::path(folder_) / FileName(region, number), error);
        }
        if (region.category == s760::kSampleCategory)
            data_.Remove(static_cast<uint16_t>(number));
        blocks.erase(number);
        return;
    }
    if (!folder_.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder_, error);
        SafeWrite(CFileSpec((std::filesystem::path(folder_) / FileName(region, number)).string()),
                  [&](CMedia& media) { media.Write(static_cast<int32_t>(block.size()), block.data()); });
    }
    blocks[number] = block;
}

std::optional<std::vector<uint8_t>> CS760Memory::Block(uint8_t category, uint32_t number) const
{
    std::lock_guard lock(mutex_);
    const auto kind = blocks_.find(category);
    if (kind == blocks_.end())
        return std::nullopt;
    const auto found = kind->second.find(number);
    if (found == kind->second.end())
        return std::nullopt;
    return found->second;
}

std::vector<SS760Entry> CS760Memory::Entries(uint8_t category) const
{
    std::lock_guard lock(mutex_);
    std::vector<SS760Entry> entries;
    const auto kind = blocks_.find(category);
    if (kind == blocks_.end())
        return entries;
    for (const auto& [number, block] : kind->second) {
        const std::vector<uint8_t> name = roland::FromNibblePairs(block.data(), 16);
        entries.push_back({number, std::string(name.begin(), name.end())});
    }
    return entries;
}

void CS760Memory::Load()
{
    for (const SS760Region& region : S760Regions()) {
        for (uint32_t number = 0; number < region.count; ++number) {
            const std::filesystem::path path = std::filesystem::path(folder_) / FileName(region, number);
            std::error_code error;
            if (!std::filesystem::is_regular_file(path, error))
                continue;
            std::ifstream file(path, std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            if (bytes.size() != region.blockBytes || Unused(bytes))
                continue;
            blocks_[region.category][number] = std::move(bytes);
        }
    }
}

} // namespace quorvel
