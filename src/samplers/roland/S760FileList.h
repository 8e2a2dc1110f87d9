#pragma once
// The S-760's list of one category of its files (samples, partials or
// patches): number and 16-character name of each. It is asked for by
// writing the category to the list address, and comes back as data sets of
// up to 16 entries.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::roland {
class CRolandCom;
}

namespace quorvel {

struct SS760FileEntry {
    uint8_t category = 0;
    uint16_t number = 0;
    std::string name; // 16 characters as the sampler keeps them
};

class CS760FileList {
public:
    static constexpr size_t kCapacity = 512;

    // (count, count) once the list is complete.
    using Progress = std::function<void(int32_t done, int32_t total)>;

    // Replaces the list with the sampler's entries of `category`.
    // XS760UnexpectedCategoryReceived for an entry of another category,
    // XS760FileListTooSmall past 512 entries, and the exchange's failures.
    void Read(roland::CRolandCom& com, uint8_t category, const Progress& progress = {});

    // XS760FileListTooSmall when full.
    void Add(const SS760FileEntry& entry);
    void Remove(uint8_t category, uint16_t number);
    void Clear() { entries_.clear(); }

    const std::vector<SS760FileEntry>& Entries() const { return entries_; }
    bool Uses(uint8_t category, uint16_t number) const;
    // The entry of `category` named exactly `name` (16 characters), if any.
    const SS760FileEntry* Named(uint8_t category, const std::string& name) const;
    const SS760FileEntry* Numbered(uint8_t category, uint16_t number) const;
    // The lowest number below `count` no entry of `category` uses.
    std::optional<uint16_t> FirstFree(uint8_t category, int32_t count) const;
    int32_t FreeCount(uint8_t category, int32_t count) const;

private:
    std::vector<SS760FileEntry> entries_;
};

} // namespace quorvel
