#pragma once
// What an emulated A3000 holds: one list of objects in the order they were
// made, samples (type 16) and sample banks (type 17), each known by its
// 16-character name. A sample's number is its position among the samples.
// Dump payloads are kept byte for byte as they came, so that whatever layout
// the sender uses comes back unchanged. Any thread.
//
// With a folder everything lives in one file there, `memory.a3000`, and
// outlives the process: "QA3M", format 1 (1 byte), object count (4), then per
// object its type (1), name (16) and four byte strings, each a length (4)
// and the bytes: the wave parameter block, the wave bytes (big-endian
// 16-bit words), the parameter payload ("SP" for a sample, "SB" for a bank)
// and the SMDI Sample Header it last came with (empty when it came by MIDI).
// Numbers least significant byte first.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/A3000Dump.h"

namespace quorvel {

constexpr uint8_t kA3000SampleObject = 16;
constexpr uint8_t kA3000BankObject = 17;

struct SA3000Object {
    uint8_t type = kA3000SampleObject;
    A3000Name name{};
    A3000Bytes waveBlock;  // samples: the 73-byte block of the wave dump
    A3000Bytes waveBytes;  // samples: the words, two bytes each, high byte first
    A3000Bytes parameters; // the "SP" or "SB" payload; empty until one came
    A3000Bytes smdiHeader; // samples: the Sample Header message it came with

    bool operator==(const SA3000Object&) const = default;
};

class CA3000Memory {
public:
    // An empty folder keeps everything in memory only. A file already there
    // is read now; one that is not whole is ignored.
    explicit CA3000Memory(std::string folder = {});

    std::vector<SA3000Object> Objects() const;
    std::optional<SA3000Object> Find(uint8_t type, const A3000Name& name) const;
    size_t SampleCount() const;
    std::optional<SA3000Object> Sample(size_t number) const;
    // Counts every change, so that a reader can tell when to look again.
    uint64_t Generation() const;

    // Each change is written through (safely) before it returns; a failure
    // propagates and leaves the memory as it was.
    // Replaces the object of that type and name, or appends it.
    void Put(const SA3000Object& object);
    // Replaces sample `number`, or appends it when `number` is past the end.
    void PutSample(size_t number, const SA3000Object& sample);
    bool RemoveSample(size_t number);

    static constexpr const char* kFileName = "memory.a3000";

private:
    // Position in objects_ of sample `number`, or objects_.size().
    size_t SampleIndex(size_t number) const;
    void Commit(std::vector<SA3000Object> objects);
    void Load();

    std::string folder_;
    mutable std::mutex mutex_;
    std::vector<SA3000Object> objects_;
    uint64_t generation_ = 1;
};

} // namespace quorvel
