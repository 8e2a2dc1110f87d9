#pragma once
// A keymap: which sound block each key position plays, in up to eight
// velocity levels. Levels may share one entry table.
#include <array>
#include <vector>

#include "samplers/kurzweil/KurzweilObject.h"

namespace quorvel {

struct SK2000KeymapEntry {
    uint16_t first = 0;  // kept as the template has it (tuning)
    uint8_t second = 0;  // kept as the template has it (volume adjust)
    uint16_t soundBlock = 0;
    uint8_t last = 0;    // 1 for a placed slice

    bool operator==(const SK2000KeymapEntry&) const = default;
};

class CK2000Keymap : public CKurzweilObject {
public:
    static constexpr size_t kHeaderSize = 28;
    static constexpr size_t kEntrySize = 6;
    static constexpr size_t kMostEntries = 128;
    static constexpr size_t kLevels = 8;
    // The level whose table the placed slices go into.
    static constexpr size_t kSliceLevel = 7;
    // Entry index of a key: key - third header value - this.
    static constexpr int kKeyOffset = 12;

    using Table = std::vector<SK2000KeymapEntry>;

    // A new keymap: one table of 128 empty entries that every level uses.
    explicit CK2000Keymap(uint16_t id = 0, std::string name = {});

    size_t BodySize() const override;
    size_t WriteBody(std::span<uint8_t> buffer) const override;
    size_t MaxBodySize() const override { return kHeaderSize + kEntrySize * kMostEntries * kLevels; }
    void ReadBody(std::span<const uint8_t> body) override;

    std::array<uint16_t, 4>& HeaderValues() { return header_; }
    const std::array<uint16_t, 4>& HeaderValues() const { return header_; }
    size_t EntryCount() const { return tables_.front().size(); }
    size_t TableCount() const { return tables_.size(); }
    const Table& LevelTable(size_t level) const { return tables_.at(levelTable_.at(level)); }
    Table& LevelTable(size_t level) { return tables_.at(levelTable_.at(level)); }
    size_t TableIndexOfLevel(size_t level) const { return levelTable_.at(level); }
    // The entry a key plays in `level`'s table, or -1 when the key lies outside the table.
    int EntryIndexOfKey(int key) const;
    // Every sound block an entry of any table names (0 for none is left out), in order, once.
    std::vector<uint16_t> SoundBlocks() const;

private:
    std::array<uint16_t, 4> header_{0, 23, 0, 100};
    std::vector<Table> tables_;
    std::array<size_t, kLevels> levelTable_{};
};

} // namespace quorvel
