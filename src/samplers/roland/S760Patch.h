#pragma once
// The S-760's patch and partial parameter blocks, as far as a patch built
// from slices needs them: the names, the partial each key plays, and the
// sample a partial plays. Every other byte is carried over from a template
// or left at the defaults. docs/ROLAND-LAYOUTS.md names the sources.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quorvel::s760 {

// A patch: 256 bytes, 512 on the wire; 128 of them from 00 04 00 00.
constexpr size_t kPatchBlockSize = 256;
constexpr uint32_t kFirstPatchAddress = 0x10000;
// A partial: 128 bytes, 256 on the wire; 256 of them from 00 08 00 00.
constexpr size_t kPartialBlockSize = 128;
constexpr uint32_t kFirstPartialAddress = 0x20000;

// The keyboard a patch maps: A0 to C8.
constexpr int kLowestKey = 21;
constexpr int kKeyCount = 88;
constexpr uint8_t kNoPartial = 0xFF;
// The key of a patch's first slice (C2), and how many slices fit above it.
constexpr int kFirstSliceKey = 36;
constexpr int kMostSlices = kLowestKey + kKeyCount - kFirstSliceKey;

uint32_t PatchAddress(int32_t patchNumber);
uint32_t PartialAddress(int32_t partialNumber);

class CS760PatchBlock {
public:
    // A playable patch: full level, centred, no key mapped.
    CS760PatchBlock();
    static CS760PatchBlock FromWire(std::span<const uint8_t> wire);
    std::array<uint8_t, 2 * kPatchBlockSize> ToWire() const;

    std::string Name() const;
    void SetName(const std::string& name);
    // The partial key `key` plays, if any.
    std::optional<uint8_t> PartialOfKey(int key) const;
    void SetPartialOfKey(int key, std::optional<uint8_t> partial);
    void ClearKeys();

private:
    std::array<uint8_t, kPatchBlockSize> bytes_{};
};

class CS760PartialBlock {
public:
    // Plays no sample yet.
    CS760PartialBlock();
    static CS760PartialBlock FromWire(std::span<const uint8_t> wire);
    std::array<uint8_t, 2 * kPartialBlockSize> ToWire() const;

    std::string Name() const;
    void SetName(const std::string& name);
    std::optional<uint16_t> Sample() const;
    void SetSample(std::optional<uint16_t> sample);

private:
    std::array<uint8_t, kPartialBlockSize> bytes_{};
};

} // namespace quorvel::s760
