#pragma once
// The messages of the MIDI sample dump: building them, recognising them, and
// the packing of sample words into 120-byte data packets.
#include <cstdint>
#include <memory>

#include "devices/midi/RawSysex.h"
#include "samplers/SampleInfo.h"

namespace quorvel::sds {

constexpr uint8_t kUniversalNonRealTime = 0x7E;
constexpr uint8_t kDumpHeader = 0x01;
constexpr uint8_t kDataPacket = 0x02;
constexpr uint8_t kDumpRequest = 0x03;
constexpr uint8_t kWait = 0x7C;
constexpr uint8_t kCancel = 0x7D;
constexpr uint8_t kNak = 0x7E;
constexpr uint8_t kAck = 0x7F;

constexpr int32_t kHeaderLength = 21;
constexpr int32_t kRequestLength = 7;
constexpr int32_t kPacketLength = 127;
constexpr int32_t kHandshakeLength = 6;
constexpr int32_t kPacketDataBytes = 120;
constexpr int32_t kPacketDataOffset = 5;

constexpr uint8_t kMinFormat = 8;
constexpr uint8_t kMaxFormat = 28;
constexpr uint32_t kMaxPeriod = 0x1FFFFF;
constexpr uint32_t kMaxLength = 0x1FFFFF;
// How long WAITs and stray answers may hold up one wait for an answer.
constexpr uint32_t kMaxWaitMs = 30000;

// Loop types on the wire.
constexpr uint8_t kLoopForward = 0x00;
constexpr uint8_t kLoopAlternating = 0x01;
constexpr uint8_t kLoopOff = 0x7F;

struct SDumpHeader {
    uint16_t sampleNumber = 0; // 14 bits on the wire
    uint8_t format = 16;       // bits per word
    uint32_t period = 0;       // nanoseconds, 21 bits
    uint32_t length = 0;       // words, 21 bits
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;
    uint8_t loopType = kLoopOff;
};

// Bytes per word and words per packet; 0 for formats above 28 bits.
int32_t BytesPerWord(uint32_t format);
int32_t WordsPerPacket(uint32_t format);
// 1 for 16-bit words, 2 for 32-bit ones.
inline int32_t WordsPerFrame(uint32_t format) { return format > 16 ? 2 : 1; }

CRawSysex BuildHeader(uint8_t channel, const SDumpHeader& header);
SDumpHeader ParseHeader(const CRawSysex& message);
CRawSysex BuildRequest(uint8_t channel, uint16_t sampleNumber);
CRawSysex BuildHandshake(uint8_t channel, uint8_t type, uint8_t packetNumber);
// A data packet of `words` words (the rest of its data zero) with its checksum.
// `samples` holds 16-bit words for formats up to 16 bits, 32-bit ones above.
std::unique_ptr<CRawSysex> BuildPacket(uint8_t channel, uint8_t packetNumber, uint32_t format, const void* samples,
                                       int32_t words);
// The checksum a packet's bytes call for.
uint8_t PacketChecksum(const uint8_t* packet);
// Decodes `words` words of a packet into 16-bit or 32-bit words.
void DecodePacket(const uint8_t* packet, uint32_t format, int32_t words, void* samples);

bool IsHandshake(const CRawSysex& message);
bool IsHeader(const CRawSysex& message);
bool IsPacket(const CRawSysex& message);
inline uint8_t MessageType(const CRawSysex& message) { return message.GetData()[3]; }
inline uint8_t PacketNumber(const CRawSysex& message) { return message.GetData()[4]; }

// The header that announces `info` as sample `sampleNumber`.
SDumpHeader HeaderFromInfo(const SampleInfo& info, uint16_t sampleNumber);
// The parameters a received header gives; the rate snaps to a common one
// when within 1 Hz of it.
SampleInfo InfoFromHeader(const SDumpHeader& header);

} // namespace quorvel::sds
