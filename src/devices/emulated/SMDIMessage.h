#pragma once
// The emulated SMDI sampler's own reading and writing of SMDI messages: an
// 11-byte header ("SMDI", message id, sub id, 24-bit length of what follows,
// all big-endian) and the data. Kept apart from the program's side so that a
// misreading on either side shows as a refusal.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quorvel {

using SMDIBytes = std::vector<uint8_t>;

// Message id (high 16 bits) and sub id (low 16 bits).
enum ESMDIMessageCode : uint32_t {
    kSMDIMessageReject = 0x00020000,
    kSMDIAck = 0x01000000,
    kSMDIWait = 0x01020000,
    kSMDISendNextPacket = 0x01030000,
    kSMDIEndOfProcedure = 0x01040000,
    kSMDIAbortProcedure = 0x01050000,
    kSMDIDataPacket = 0x01100000,
    kSMDISampleHeaderRequest = 0x01200000,
    kSMDISampleHeader = 0x01210000,
    kSMDIBeginSampleTransfer = 0x01220000,
    kSMDIBeginSampleTransferAck = 0x01220001,
    kSMDIDeleteSample = 0x01240000,
};

constexpr size_t kSMDIHeaderBytes = 11;

using SMDIView = std::span<const uint8_t>;

struct SSMDIMessage {
    uint32_t code = 0;
    SMDIView data; // what follows the 11-byte header, in the parsed bytes
};

// A whole message as sent: false when it is shorter than the header, lacks
// the tag, or its length field disagrees with the bytes that follow. The
// message's data points into `bytes`.
bool ParseSMDIMessage(const uint8_t* bytes, size_t length, SSMDIMessage& message);
SMDIBytes BuildSMDIMessage(uint32_t code, SMDIView data = {});
// A Data Packet: the packet number, then `data`.
SMDIBytes BuildSMDIDataPacket(uint32_t number, SMDIView data);

// Big-endian numbers of `width` bytes.
void PutBigEndian(SMDIBytes& out, uint32_t value, int width);
uint32_t GetBigEndian(const uint8_t* in, int width);

// Message Reject with its 16-bit reject code and sub code.
SMDIBytes RejectMessage(uint16_t code, uint16_t subCode);

} // namespace quorvel
