#pragma once
// The pieces of a Roland addressed system-exclusive message as the sampler
// side reads and writes them: F0 41 device model command ... F7, addresses
// and sizes as four 7-bit groups (most significant first), and a checksum
// that brings the sum of the bytes it covers to a multiple of 128. Written
// for the emulated samplers, apart from the program's own encoding.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel {

namespace roland {

constexpr uint8_t kManufacturer = 0x41;
constexpr uint8_t kDataSet = 0x12;
constexpr uint8_t kRequestOneWay = 0x11;
constexpr uint8_t kWantToSend = 0x40;
constexpr uint8_t kRequestData = 0x41;
constexpr uint8_t kData = 0x42;
constexpr uint8_t kAcknowledge = 0x43;
constexpr uint8_t kEndOfData = 0x45;
constexpr uint8_t kError = 0x4E;
constexpr uint8_t kRejection = 0x4F;

// The byte that makes the 7-bit sum of `count` bytes and itself zero.
uint8_t Checksum(const uint8_t* bytes, size_t count);
// The covered bytes of a message (from offset 5 up to and with its checksum,
// the second to last byte) sum to a multiple of 128.
bool ChecksumHolds(const std::vector<uint8_t>& message);

void PutNumber(std::vector<uint8_t>& out, uint32_t value); // four 7-bit groups
uint32_t GetNumber(const uint8_t* bytes);                  // the reverse

// F0 41 device model command, `body`, its checksum (when the body is not
// empty), F7.
std::vector<uint8_t> Message(uint8_t device, uint8_t model, uint8_t command, const std::vector<uint8_t>& body);
// A message of `command` with address and size.
std::vector<uint8_t> AddressAndSize(uint8_t device, uint8_t model, uint8_t command, uint32_t address,
                                    uint32_t size);
// A message of `command` (0x12 or 0x42) carrying `data` at `address`.
std::vector<uint8_t> AddressAndData(uint8_t device, uint8_t model, uint8_t command, uint32_t address,
                                    const uint8_t* data, size_t count);

// Each byte as two bytes, its high nibble, then its low nibble; and back.
std::vector<uint8_t> NibblePairs(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> FromNibblePairs(const uint8_t* pairs, size_t byteCount);

} // namespace roland

} // namespace quorvel
