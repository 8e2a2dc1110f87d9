#include "samplers/kurzweil/K2000Keymap.h"

#include <algorithm>

#include "fileformats/ByteOrder.h"
#include "samplers/kurzweil/KurzweilExceptions.h"

namespace quorvel {

namespace {

constexpr size_t kCountField = 8;
constexpr size_t kEntrySizeField = 10;
constexpr size_t kFirstLevelField = 12;

size_t LevelField(size_t level) { return kFirstLevelField + 2 * level; }

} // namespace

CK2000Keymap::CK2000Keymap(uint16_t id, std::string name)
    : CKurzweilObject(EKurzweilObjectType::Keymap, id, std::move(name)), tables_(1, Table(kMostEntries))
{
}

size_t CK2000Keymap::BodySize() const { return kHeaderSize + kEntrySize * EntryCount() * tables_.size(); }

size_t CK2000Keymap::WriteBody(std::span<uint8_t> buffer) const
{
    const size_t entries = EntryCount();
    const size_t size = BodySize();
    if (entries == 0 || entries > kMostEntries || tables_.size() > kLevels || buffer.size() < size)
        throw XK2000InvalidFormat();
    uint8_t* p = buffer.data();
    for (size_t i = 0; i < header_.size(); ++i)
        PutBE16(p + 2 * i, header_[i]);
    PutBE16(p + kCountField, static_cast<uint16_t>(entries - 1));
    PutBE16(p + kEntrySizeField, kEntrySize);
    const size_t tableSize = entries * kEntrySize;
    for (size_t level = 0; level < kLevels; ++level) {
        const size_t tableStart = kHeaderSize + tableSize * levelTable_[level];
        PutBE16(p + LevelField(level), static_cast<uint16_t>(tableStart - LevelField(level)));
    }
    uint8_t* out = p + kHeaderSize;
    for (const Table& table : tables_) {
        if (table.size() != entries)
            throw XK2000InvalidFormat();
        for (const SK2000KeymapEntry& entry : table) {
            PutBE16(out, entry.first);
            out[2] = entry.second;
            PutBE16(out + 3, entry.soundBlock);
            out[5] = entry.last;
            out += kEntrySize;
        }
    }
    return size;
}

void CK2000Keymap::ReadBody(std::span<const uint8_t> body)
{
    if (body.size() < kHeaderSize)
        throw XK2000InvalidFormat();
    const uint8_t* p = body.data();
    const size_t entries = size_t{GetBE16(p + kCountField)} + 1;
    const size_t entrySize = GetBE16(p + kEntrySizeField);
    if (entries > kMostEntries || entrySize < kEntrySize)
        throw XK2000InvalidFormat();
    const size_t tableSize = entries * entrySize;
    // Each level names a table by its place; levels naming the same place share it.
    std::array<size_t, kLevels> levelTable{};
    size_t tableCount = 0;
    for (size_t level = 0; level < kLevels; ++level) {
        const size_t start = LevelField(level) + GetBE16(p + LevelField(level));
        if (start < kHeaderSize || (start - kHeaderSize) % tableSize != 0)
            throw XK2000InvalidFormat();
        levelTable[level] = (start - kHeaderSize) / tableSize;
        if (levelTable[level] >= kLevels || start + tableSize > body.size())
            throw XK2000InvalidFormat();
        tableCount = std::max(tableCount, levelTable[level] + 1);
    }
    std::vector<Table> tables(tableCount, Table(entries));
    for (size_t t = 0; t < tableCount; ++t)
        for (size_t e = 0; e < entries; ++e) {
            const uint8_t* in = p + kHeaderSize + tableSize * t + entrySize * e;
            if (in + kEntrySize > p + body.size())
                throw XK2000InvalidFormat();
            tables[t][e] = {GetBE16(in), in[2], GetBE16(in + 3), in[5]};
        }
    for (size_t i = 0; i < header_.size(); ++i)
        header_[i] = GetBE16(p + 2 * i);
    tables_ = std::move(tables);
    levelTable_ = levelTable;
}

int CK2000Keymap::EntryIndexOfKey(int key) const
{
    const int index = key - static_cast<int16_t>(header_[2]) - kKeyOffset;
    return index >= 0 && static_cast<size_t>(index) < EntryCount() ? index : -1;
}

std::vector<uint16_t> CK2000Keymap::SoundBlocks() const
{
    std::vector<uint16_t> blocks;
    for (const Table& table : tables_)
        for (const SK2000KeymapEntry& entry : table)
            if (entry.soundBlock != 0 && std::find(blocks.begin(), blocks.end(), entry.soundBlock) == blocks.end())
                blocks.push_back(entry.soundBlock);
    return blocks;
}

} // namespace quorvel
