#pragma once
// The Roland exclusive frame: F0 41, device, model, command, body, F7. The
// addressed commands carry a 28-bit address (and a size) in four 7-bit
// groups, most significant first, and end with a checksum that brings the
// sum of address, size and data to 0 modulo 128.
#include <cstdint>
#include <memory>
#include <span>

#include "devices/midi/RawSysex.h"

namespace quorvel::roland {

constexpr uint8_t kManufacturer = 0x41;
constexpr uint8_t kS760Model = 0x34;

constexpr uint8_t kDataSet = 0x12;
constexpr uint8_t kWantToSend = 0x40;
constexpr uint8_t kRequestData = 0x41;
constexpr uint8_t kData = 0x42;
constexpr uint8_t kAcknowledge = 0x43;
constexpr uint8_t kEndOfData = 0x45;
constexpr uint8_t kError = 0x4E;
constexpr uint8_t kRejection = 0x4F;

// The most data one data set or data message carries.
constexpr int32_t kMostDataPerMessage = 256;
// F0, manufacturer, device, model, command ... F7.
constexpr int32_t kCommandOffset = 4;
constexpr int32_t kBodyOffset = 5;
constexpr int32_t kShortestReply = 6;
// Header, address, checksum and F7 around the data.
constexpr int32_t kAddressedOverhead = 11;
constexpr int32_t kSizedLength = 15;

struct SRolandDevice {
    uint8_t device = 0;
    uint8_t model = kS760Model;
};

// Data set or data message: address and data.
CRawSysex BuildAddressed(const SRolandDevice& to, uint8_t command, uint32_t address, std::span<const uint8_t> data);
// Want to send, request data, end of data: address and size.
CRawSysex BuildSized(const SRolandDevice& to, uint8_t command, uint32_t address, uint32_t size);
// Acknowledge, error, rejection: the command alone.
CRawSysex BuildBare(const SRolandDevice& to, uint8_t command);

// Throws unless `reply` is `command`: XSysexTooSmall below 6 bytes, then
// XSysexCommunicationException for the error message, XRolandRejectException
// for the rejection, XRolandUnexpectedCommand for anything else.
void RequireCommand(const CRawSysex& reply, uint8_t command);

// The data of an addressed reply of `command` for `address`, holding no more
// than `capacity` bytes: XSysexTooSmall under 11 bytes, the failures of
// RequireCommand, XRolandUnexpectedAddress, XSysexTooBig,
// XSysexChecksumFailure.
std::span<const uint8_t> AddressedData(const CRawSysex& reply, uint8_t command, uint32_t address,
                                       int32_t capacity);

uint32_t MessageAddress(const CRawSysex& message);

} // namespace quorvel::roland
