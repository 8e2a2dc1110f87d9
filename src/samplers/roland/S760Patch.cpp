#include "samplers/roland/S760Patch.h"

#include <algorithm>

#include "devices/midi/SysexEncoding.h"
#include "samplers/roland/S760Layouts.h"

namespace quorvel::s760 {

namespace {

// Patch: name at 0, level at 19, the key map (one partial per key, A0
// first) at 32, the key's assign type at 128.
constexpr size_t kPatchLevelAt = 19;
constexpr size_t kKeyMapAt = 32;
constexpr size_t kAssignTypeAt = 128;
constexpr uint8_t kFullLevel = 127;
// Partial: name at 0, the sample it plays at 16 (little-endian), and its
// level at 18.
constexpr size_t kPartialSampleAt = 16;
constexpr size_t kPartialLevelAt = 18;
constexpr uint16_t kNoSample = 0xFFFF;

std::string TextAt(const uint8_t* bytes) { return DisplayName(std::string(bytes, bytes + kNameLength)); }

void PutText(uint8_t* bytes, const std::string& name)
{
    const std::array<char, kNameLength> padded = PaddedName(name);
    std::copy(padded.begin(), padded.end(), bytes);
}

template <size_t N>
std::array<uint8_t, N> FromNibbles(std::span<const uint8_t> wire)
{
    std::array<uint8_t, N> bytes{};
    PackNibblePairs(static_cast<int32_t>(N), bytes.data(), wire.data());
    return bytes;
}

template <size_t N>
std::array<uint8_t, 2 * N> ToNibbles(const std::array<uint8_t, N>& bytes)
{
    std::array<uint8_t, 2 * N> wire{};
    UnpackNibblePairs(static_cast<int32_t>(N), bytes.data(), wire.data());
    return wire;
}

} // namespace

uint32_t PatchAddress(int32_t patchNumber)
{
    return kFirstPatchAddress + static_cast<uint32_t>(patchNumber) * 2 * kPatchBlockSize;
}

uint32_t PartialAddress(int32_t partialNumber)
{
    return kFirstPartialAddress + static_cast<uint32_t>(partialNumber) * 2 * kPartialBlockSize;
}

CS760PatchBlock::CS760PatchBlock()
{
    PutText(bytes_.data(), "");
    bytes_[kPatchLevelAt] = kFullLevel;
    ClearKeys();
}

CS760PatchBlock CS760PatchBlock::FromWire(std::span<const uint8_t> wire)
{
    CS760PatchBlock block;
    block.bytes_ = FromNibbles<kPatchBlockSize>(wire);
    return block;
}

std::array<uint8_t, 2 * kPatchBlockSize> CS760PatchBlock::ToWire() const { return ToNibbles(bytes_); }

std::string CS760PatchBlock::Name() const { return TextAt(bytes_.data()); }
void CS760PatchBlock::SetName(const std::string& name) { PutText(bytes_.data(), name); }

std::optional<uint8_t> CS760PatchBlock::PartialOfKey(int key) const
{
    if (key < kLowestKey || key >= kLowestKey + kKeyCount)
        return std::nullopt;
    const uint8_t partial = bytes_[kKeyMapAt + static_cast<size_t>(key - kLowestKey)];
    return partial == kNoPartial ? std::nullopt : std::optional<uint8_t>(partial);
}

void CS760PatchBlock::SetPartialOfKey(int key, std::optional<uint8_t> partial)
{
    if (key < kLowestKey || key >= kLowestKey + kKeyCount)
        return;
    const auto at = static_cast<size_t>(key - kLowestKey);
    bytes_[kKeyMapAt + at] = partial.value_or(kNoPartial);
    bytes_[kAssignTypeAt + at] = 0;
}

void CS760PatchBlock::ClearKeys()
{
    for (int key = kLowestKey; key < kLowestKey + kKeyCount; ++key)
        SetPartialOfKey(key, std::nullopt);
}

CS760PartialBlock::CS760PartialBlock()
{
    PutText(bytes_.data(), "");
    bytes_[kPartialLevelAt] = kFullLevel;
    SetSample(std::nullopt);
}

CS760PartialBlock CS760PartialBlock::FromWire(std::span<const uint8_t> wire)
{
    CS760PartialBlock block;
    block.bytes_ = FromNibbles<kPartialBlockSize>(wire);
    return block;
}

std::array<uint8_t, 2 * kPartialBlockSize> CS760PartialBlock::ToWire() const { return ToNibbles(bytes_); }

std::string CS760PartialBlock::Name() const { return TextAt(bytes_.data()); }
void CS760PartialBlock::SetName(const std::string& name) { PutText(bytes_.data(), name); }

std::optional<uint16_t> CS760PartialBlock::Sample() const
{
    const auto sample = static_cast<uint16_t>(bytes_[kPartialSampleAt] | bytes_[kPartialSampleAt + 1] << 8);
    return sample == kNoSample ? std::nullopt : std::optional<uint16_t>(sample);
}

void CS760PartialBlock::SetSample(std::optional<uint16_t> sample)
{
    const uint16_t value = sample.value_or(kNoSample);
    bytes_[kPartialSampleAt] = static_cast<uint8_t>(value);
    bytes_[kPartialSampleAt + 1] = static_cast<uint8_t>(value >> 8);
}

} // namespace quorvel::s760
