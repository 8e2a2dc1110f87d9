#pragma once
// What an emulated AKAI sampler holds: samples (a header block and 16-bit
// words) and programs (a header block and keygroup blocks), each list
// numbered by position from 0, as the sampler numbers them; deleting one
// moves the later ones down. Blocks are kept byte for byte as they came.
// With a folder everything lives in one file there and outlives the
// process. Any thread.
//
// File `<folder>/memory.akai`: "QAKM", block size (1 byte: 150 or 192),
// sample count (2 bytes), per sample its header block, word count (4) and
// words (2 bytes each); then program count (2), per program its header
// block, keygroup count (2) and keygroup blocks. Numbers least significant
// byte first; words as the sample dump carries them (0 the most negative).
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

using AKAIBlock = std::vector<uint8_t>;

struct SAKAISample {
    AKAIBlock header;
    std::vector<uint16_t> words;

    bool operator==(const SAKAISample&) const = default;
};

struct SAKAIProgram {
    AKAIBlock header;
    std::vector<AKAIBlock> keygroups;

    bool operator==(const SAKAIProgram&) const = default;
};

class CAKAIMemory {
public:
    // An empty folder keeps everything in memory only. A file already in the
    // folder is read now; one that does not fit the block size is ignored.
    CAKAIMemory(size_t blockBytes, std::string folder = {});

    size_t BlockBytes() const { return blockBytes_; }

    std::vector<SAKAISample> Samples() const;
    std::vector<SAKAIProgram> Programs() const;
    std::optional<SAKAISample> Sample(size_t number) const;
    std::optional<SAKAIProgram> Program(size_t number) const;

    // Each change is written through (safely) before it returns; a failure
    // to write propagates and leaves the memory as it was.
    // `number` at or past the end appends; returns the number used.
    size_t PutSample(size_t number, const SAKAISample& sample);
    size_t PutProgram(size_t number, const SAKAIProgram& program);
    bool DeleteSample(size_t number);
    bool DeleteProgram(size_t number);

    static constexpr const char* kFileName = "memory.akai";

private:
    void Load();
    void Save(const std::vector<SAKAISample>& samples, const std::vector<SAKAIProgram>& programs) const;

    size_t blockBytes_;
    std::string folder_;
    mutable std::mutex mutex_;
    std::vector<SAKAISample> samples_;
    std::vector<SAKAIProgram> programs_;
};

} // namespace quorvel
