#pragma once
// The object messages of a Kurzweil K2000/K2500, as they travel:
// F0 07 <device> 78 <message number> <body> F7. Types and ids take two 7-bit
// bytes, sizes and offsets three, most significant first; names end with a
// zero byte. Every offset into a message is kept here.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "devices/midi/RawSysex.h"
#include "samplers/kurzweil/KurzweilObject.h"

namespace quorvel::kurzweil {

constexpr uint8_t kManufacturer = 0x07;
constexpr uint8_t kModel = 0x78;
constexpr int32_t kTransactionAttempts = 3;

enum EMessage : uint8_t {
    kAcknowledge = 2, // DACK: type, id, two values
    kRefuse = 3,      // DNAK: type, id, two values, error code
    kDescribe = 4,    // DIR
    kDescription = 5, // INFO
    kDelete = 7,      // DEL
    kRename = 8,      // CHANGE
    kWrite = 9,       // WRITE (both ways)
    kRead = 10,       // READ
    kList = 12,       // DIRBANK
    kEndOfList = 13,  // ENDOFBANK
};

constexpr uint8_t kBitStreamForm = 1;

// Where things sit in a received message.
constexpr size_t kNumberOffset = 4;
constexpr size_t kTypeOffset = 5;
constexpr size_t kIdOffset = 7;
constexpr size_t kSizeOffset = 9;       // descriptions and writes
constexpr size_t kFlagOffset = 12;      // descriptions and writes
constexpr size_t kNameOffset = 13;      // descriptions and writes
constexpr size_t kFirstValueOffset = 9; // acknowledgements and refusals
constexpr size_t kSecondValueOffset = 12;
constexpr size_t kErrorCodeOffset = 15;

constexpr int32_t kShortestReply = 15;
constexpr int32_t kAcknowledgeLength = 16;
constexpr int32_t kRefuseLength = 17;
constexpr int32_t kShortestWrite = 17;

// Error codes of a refusal.
enum EErrorCode : uint8_t {
    kObjectInEdit = 1,
    kBadChecksum = 2,
    kIdOutOfRange = 3,
    kObjectNotFound = 4,
    kOutOfMemory = 5,
};

CRawSysex BuildDescribe(uint8_t device, uint16_t type, uint16_t id);
CRawSysex BuildDelete(uint8_t device, uint16_t type, uint16_t id);
CRawSysex BuildRename(uint8_t device, uint16_t type, uint16_t id, uint16_t newId, const std::string& name);
// The body goes packed as a bit stream with its checksum.
CRawSysex BuildWrite(uint8_t device, uint16_t type, uint16_t id, uint32_t size, uint8_t flag,
                     const std::string& name, std::span<const uint8_t> body);
CRawSysex BuildRead(uint8_t device, uint16_t type, uint16_t id);
CRawSysex BuildList(uint8_t device, uint16_t type, uint8_t bank, uint8_t option);
CRawSysex BuildAcknowledge(uint8_t device, uint16_t type, uint16_t id, uint32_t first, uint32_t second);

uint8_t MessageNumber(const CRawSysex& message);

struct SKurzweilAcknowledge {
    uint16_t type = 0;
    uint16_t id = 0;
    uint32_t first = 0;
    uint32_t second = 0;
};
// XSysexTooSmall below 16 bytes.
SKurzweilAcknowledge ParseAcknowledge(const CRawSysex& message);

// Throws the failure a refusal names: XSysexTooSmall below 17 bytes, then by
// its error code (XKurzweilRejected for codes without a meaning of their own).
[[noreturn]] void ThrowRefusal(const CRawSysex& message);

// XSysexTooSmall below 15 bytes. A name without its terminator ends with the message.
SKurzweilObjectRecord ParseDescription(const CRawSysex& message);

struct SKurzweilWrittenObject {
    SKurzweilObjectRecord record;
    std::vector<uint8_t> body; // unpacked, exactly the size the message gives
};
// A write message as the sampler sends it in answer to a read:
// XSysexTooSmall below 17 bytes or without room for its name, form and
// checksum; XKurzweilNotBitStream for another form; XSysexChecksumFailure;
// XExternalDeviceCommunicationError when the body is shorter than its size.
SKurzweilWrittenObject ParseWrite(const CRawSysex& message);

} // namespace quorvel::kurzweil
