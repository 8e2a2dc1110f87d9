#pragma once
// The bit-stream form of an object body on the wire: the 8-bit bytes are cut,
// most significant bit first, into a continuous run of 7-bit groups, one per
// wire byte; the last group is padded with zero bits.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quorvel::kurzweil {

// Wire bytes that `bodyBytes` body bytes take: (8n + 6) / 7.
size_t PackedLength(size_t bodyBytes);
// Whole body bytes that `wireBytes` wire bytes carry: 7w / 8.
size_t UnpackedLength(size_t wireBytes);

std::vector<uint8_t> PackBitStream(std::span<const uint8_t> body);
// The padding bits of the last wire byte are dropped.
std::vector<uint8_t> UnpackBitStream(std::span<const uint8_t> wire);

} // namespace quorvel::kurzweil
