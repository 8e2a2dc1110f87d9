#pragma once
// What an emulated Ensoniq sampler holds: up to 8 instruments (0 to 7), each
// with its parameter block, up to 8 layers (0 to 7) with theirs, and
// wavesamples numbered 1 to 127 across the instrument, each belonging to one
// layer, with its parameter block and its 16-bit sample words. Blocks are
// kept word for word as they came. With a folder everything lives in one
// file there and outlives the process. Any thread.
//
// File `<folder>/memory.ensoniq`: "QENM"; per instrument 0 to 7 a byte (1:
// present), then for one present: its block (323 words), a byte of present
// layers (bit n: layer n) and their blocks (107 words each, lowest layer
// first), the wavesample count (2 bytes) and per wavesample its number (1),
// its layer (1), its block (139 words), its word count (4) and its words.
// Every number and word least significant byte first; sample words as two's
// complement.
#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

using EnsoniqWords = std::vector<uint16_t>;

constexpr size_t kEnsoniqInstrumentWords = 323;
constexpr size_t kEnsoniqLayerWords = 107;
constexpr size_t kEnsoniqWaveWords = 139;
constexpr size_t kEnsoniqSlots = 8;
constexpr uint16_t kEnsoniqLastWave = 127;

struct SEnsoniqWave {
    uint8_t layer = 0;
    EnsoniqWords block;
    EnsoniqWords data;

    bool operator==(const SEnsoniqWave&) const = default;
};

struct SEnsoniqInstrument {
    EnsoniqWords block;
    std::array<std::optional<EnsoniqWords>, kEnsoniqSlots> layers;
    std::map<uint16_t, SEnsoniqWave> waves;

    bool operator==(const SEnsoniqInstrument&) const = default;
};

using EnsoniqInstruments = std::array<std::optional<SEnsoniqInstrument>, kEnsoniqSlots>;

class CEnsoniqMemory {
public:
    // An empty folder keeps everything in memory only. A file already in the
    // folder is read now; one that does not fit is ignored.
    explicit CEnsoniqMemory(std::string folder = {});

    EnsoniqInstruments Instruments() const;
    // Sample words held by every wavesample together.
    uint64_t UsedWords() const;
    // Replaces everything, written through (safely) before it returns; a
    // failure to write propagates and leaves the memory as it was.
    void Replace(const EnsoniqInstruments& instruments);

    static constexpr const char* kFileName = "memory.ensoniq";

private:
    void Load();
    void Save(const EnsoniqInstruments& instruments) const;

    std::string folder_;
    mutable std::mutex mutex_;
    EnsoniqInstruments instruments_;
};

} // namespace quorvel
