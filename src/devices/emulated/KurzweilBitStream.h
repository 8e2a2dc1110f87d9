#pragma once
// The emulated Kurzweil sampler's own form-1 packing of object bodies: the
// 8-bit bytes, most significant bit first, as one continuous stream cut
// into 7-bit groups, one group per MIDI byte; the last group is padded with
// zero bits.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel {

std::vector<uint8_t> PackKurzweilBitStream(const std::vector<uint8_t>& body);
// The whole bytes `count` wire bytes hold; trailing padding bits are dropped.
std::vector<uint8_t> UnpackKurzweilBitStream(const uint8_t* wire, size_t count);
// Wire bytes a body of `bytes` bytes takes.
inline size_t KurzweilPackedSize(size_t bytes) { return (8 * bytes + 6) / 7; }
// The checksum after the data: the sum of the wire bytes, kept to 7 bits.
uint8_t KurzweilChecksum(const uint8_t* wire, size_t count);

} // namespace quorvel
