#pragma once
// What the emulated S-760 holds: patch, partial and sample parameter blocks
// at their addresses, and each sample's data by number. Blocks are kept as
// the wire carries them (each byte as a high and a low nibble), so that a
// block reads back exactly as it was written. An object exists while its
// block's name does not begin with 0x7F, the mark of an unused slot; writing
// that mark deletes it (a sample with its data). Any thread.
//
// With a folder everything lives there and outlives the process:
// `patch-NNN.blk`, `partial-NNN.blk`, `sample-NNN.blk` (NNN: the number in
// 3 decimal digits) hold a block's wire bytes; `sample-NNNNN.sds` holds a
// sample's data as the plain sample dump emulator keeps it (dump header,
// then 16-bit words, 4 bytes each, least significant first).
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/SDSSampleStore.h"

namespace quorvel {

// One kind of object: its file-list category, where its blocks start, the
// wire bytes of one block, and how many there are. Object n's block starts
// at base + n × blockBytes.
struct SS760Region {
    uint8_t category;
    uint32_t base;
    uint32_t blockBytes;
    uint32_t count;
    const char* kind;
};

namespace s760 {
constexpr uint8_t kPatchCategory = 3;
constexpr uint8_t kPartialCategory = 4;
constexpr uint8_t kSampleCategory = 5;
// The first name byte of an unused slot.
constexpr uint8_t kUnused = 0x7F;
} // namespace s760

// Patches, partials, samples.
const std::vector<SS760Region>& S760Regions();
const SS760Region* FindS760Region(uint8_t category);

struct SS760Entry {
    uint32_t number = 0;
    std::string name; // 16 bytes as stored

    bool operator==(const SS760Entry&) const = default;
};

class CS760Memory {
public:
    // An empty folder keeps everything in memory only. Files already in the
    // folder are read now; files of the wrong size are skipped.
    explicit CS760Memory(std::string folder = {});

    // Whether `size` (at least 1) bytes from `address` lie in one region.
    static bool Covers(uint32_t address, uint32_t size);
    // The wire bytes there; unused slots read as a block named 0x7F... with
    // zeros after the name. False when the range is not covered.
    bool Read(uint32_t address, uint32_t size, std::vector<uint8_t>& out) const;
    // Writes wire bytes into the blocks there (the range must be covered).
    // With a folder each block touched is written safely before this
    // returns; a failure propagates.
    void Write(uint32_t address, const std::vector<uint8_t>& bytes);

    std::optional<std::vector<uint8_t>> Block(uint8_t category, uint32_t number) const;
    // The objects of a category that exist, by number.
    std::vector<SS760Entry> Entries(uint8_t category) const;

    CSDSSampleStore& SampleData() { return data_; }

    static std::vector<uint8_t> UnusedBlock(const SS760Region& region);
    static std::string FileName(const SS760Region& region, uint32_t number);

private:
    void Load();
    void Keep(const SS760Region& region, uint32_t number, const std::vector<uint8_t>& block);

    std::string folder_;
    mutable std::mutex mutex_;
    // By category, then number.
    std::map<uint8_t, std::map<uint32_t, std::vector<uint8_t>>> blocks_;
    CSDSSampleStore data_;
};

} // namespace quorvel
