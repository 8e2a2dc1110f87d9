#pragma once
// The framing of the AKAI S1000/S3000 family's system-exclusive messages:
// F0 47 cc op 48 ... F7, their operation codes, the nibble coding of header
// data (low nibble first) and the requests the program sends.
#include <cstdint>
#include <vector>

#include "devices/midi/RawSysex.h"

namespace quorvel::akai {

constexpr uint8_t kManufacturer = 0x47;
constexpr uint8_t kModel = 0x48;

// Operation codes.
constexpr uint8_t kRequestStatus = 0x00;
constexpr uint8_t kStatus = 0x01;
constexpr uint8_t kRequestProgramList = 0x02;
constexpr uint8_t kProgramList = 0x03;
constexpr uint8_t kRequestSampleList = 0x04;
constexpr uint8_t kSampleList = 0x05;
constexpr uint8_t kRequestProgramHeader = 0x06;
constexpr uint8_t kProgramHeader = 0x07;
constexpr uint8_t kRequestKeyGroup = 0x08;
constexpr uint8_t kKeyGroup = 0x09;
constexpr uint8_t kRequestSampleHeader = 0x0A;
constexpr uint8_t kSampleHeader = 0x0B;
constexpr uint8_t kRequestSamplePackets = 0x0C;
constexpr uint8_t kAcceptSamplePackets = 0x0D;
constexpr uint8_t kRequestMiscData = 0x10;
constexpr uint8_t kMiscData = 0x11;
constexpr uint8_t kDeleteProgram = 0x12;
constexpr uint8_t kDeleteKeyGroup = 0x13;
constexpr uint8_t kDeleteSample = 0x14;
constexpr uint8_t kSetExclusiveChannel = 0x15;
constexpr uint8_t kReply = 0x16;
// The S3000's byte-range access to the 192-byte headers.
constexpr uint8_t kRequestProgramBytes = 0x27;
constexpr uint8_t kProgramBytes = 0x28;
constexpr uint8_t kRequestKeyGroupBytes = 0x29;
constexpr uint8_t kKeyGroupBytes = 0x2A;
constexpr uint8_t kRequestSampleBytes = 0x2B;
constexpr uint8_t kSampleBytes = 0x2C;
constexpr uint8_t kRequestMiscBytes = 0x33;
constexpr uint8_t kMiscBytes = 0x34;

constexpr int32_t kHeaderBytes = 5;      // F0 47 cc op 48
constexpr int32_t kReplyLength = 7;      // ... result F7
constexpr int32_t kPacketRequestLength = 18;
constexpr int32_t kAcceptPacketsLength = 16;

// XSysexTooSmall below 5 bytes; XAKAINonAKAISysex when byte 1 is not 47
// or byte 4 not 48.
void CheckAKAI(const CRawSysex& message);
inline uint8_t Operation(const CRawSysex& message) { return message.GetData()[3]; }
inline uint8_t Channel(const CRawSysex& message) { return message.GetData()[2]; }
// Byte 1 is 47 and byte 4 is 48 (at least 5 bytes).
bool IsAKAI(const CRawSysex& message);

// F0 47 cc op 48 F7.
CRawSysex PlainRequest(uint8_t channel, uint8_t operation);
// F0 47 cc op 48, number (14 bits, low 7 first), F7.
CRawSysex NumberedRequest(uint8_t channel, uint8_t operation, uint16_t number);
// ... with one more byte before F7.
CRawSysex NumberedRequest(uint8_t channel, uint8_t operation, uint16_t number, uint8_t parameter);
// Sample packets for `count` words from `start`, every word (interval 1).
CRawSysex SamplePacketRequest(uint8_t channel, uint16_t sampleNumber, uint32_t start, uint32_t count);
// F0 47 cc 0D 48, number (2), start word (4), word count (4), F7: the
// sampler is to take `count` words of the sample from `start`.
CRawSysex AcceptPackets(uint8_t channel, uint16_t sampleNumber, uint32_t start, uint32_t count);
CRawSysex Reply(uint8_t channel, uint8_t result);

// Each byte as two message bytes, the low nibble first.
void EncodeNibbles(const uint8_t* data, int32_t count, uint8_t* dest);
void DecodeNibbles(const uint8_t* src, int32_t count, uint8_t* data);

// 14-bit numbers, low 7 bits first.
void Put14(uint8_t* dest, uint32_t value);
uint16_t Get14(const uint8_t* src);

} // namespace quorvel::akai
