#pragma once
// SCSI command descriptor blocks: their length by operation-code group and
// the six-byte blocks the sampler protocols build.
#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvel {

constexpr uint8_t kSCSITestUnitReady = 0x00;
constexpr uint8_t kSCSIInquiry = 0x12;

// The longest block any group uses.
constexpr size_t kMaxCommandBlock = 12;

// 6 bytes for group 0, 10 for group 1, 12 for group 5, 0 for the groups no
// sampler uses.
size_t CommandBlockLength(uint8_t opcode);

using SixByteBlock = std::array<uint8_t, 6>;

// Six bytes, all zero but the operation code.
SixByteBlock MakeCommandBlock(uint8_t opcode);

// Bytes 2, 3 and 4 take bits 16-23, 8-15 and 0-7 of `value`.
void SetBlockAddress(SixByteBlock& block, uint32_t value);

} // namespace quorvel
