#pragma once
// SMDI messages: an 11-byte header (tag "SMDI", message id, sub id, 24-bit
// length of the data that follows), then the data; every number big-endian.
// Building them, and reading a received one no further than the bytes the
// target actually delivered.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quorvel::smdi {

constexpr size_t kHeaderSize = 11;
constexpr uint32_t kMaxDataLength = 0xFFFFFF;

// Message id and sub id, as one 32-bit code: id in the high half.
enum EMessage : uint32_t {
    kMessageReject = 0x00020000,
    kAck = 0x01000000,
    kNak = 0x01010000,
    kWait = 0x01020000,
    kSendNextPacket = 0x01030000,
    kEndOfProcedure = 0x01040000,
    kAbortProcedure = 0x01050000,
    kDataPacket = 0x01100000,
    kSampleHeaderRequest = 0x01200000,
    kSampleHeader = 0x01210000,
    kBeginSampleTransfer = 0x01220000,
    kBeginSampleTransferAck = 0x01220001,
    kDeleteSample = 0x01240000,
};

// Sizes of the fixed messages.
constexpr size_t kSampleNumberMessageSize = kHeaderSize + 3;
constexpr size_t kBeginTransferMessageSize = kHeaderSize + 6;
constexpr size_t kPacketNumberSize = 3;

void PutBigEndian(uint8_t* out, uint32_t value, size_t bytes);
uint32_t GetBigEndian(const uint8_t* in, size_t bytes);

// A received message: the bytes the target filled, at most the header and
// the data its length field announces.
class CSMDIMessage {
public:
    CSMDIMessage() = default;
    // `bytes` is what arrived (zeros past what the target filled). Throws
    // XSMDIMessageInvalid without the tag or a whole header.
    explicit CSMDIMessage(std::vector<uint8_t> bytes);

    uint32_t Code() const { return code_; }
    bool Is(EMessage message) const { return code_ == message; }
    // The data length the header announces.
    uint32_t DataLength() const { return dataLength_; }
    // The data that arrived: shorter than DataLength() when the receive
    // buffer was smaller than the message.
    std::span<const uint8_t> Data() const;
    bool IsComplete() const { return bytes_.size() == kHeaderSize + dataLength_; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    uint32_t code_ = 0;
    uint32_t dataLength_ = 0;
};

// A whole message of `data.size()` data bytes (at most 2^24 - 1).
std::vector<uint8_t> BuildMessage(EMessage message, std::span<const uint8_t> data = {});
// The header alone, for messages whose data is written in place after it.
void PutHeader(uint8_t* out, EMessage message, uint32_t dataLength);

std::vector<uint8_t> BuildNumberMessage(EMessage message, uint32_t number);
std::vector<uint8_t> BuildBeginTransfer(EMessage message, uint32_t sampleNumber, uint32_t packetLength);
std::vector<uint8_t> BuildMessageReject(uint16_t code, uint16_t subCode);

// The packet number of a Send Next Packet or Data Packet; XSMDIUnexpectedMessage
// when fewer than its 3 bytes arrived.
uint32_t PacketNumber(const CSMDIMessage& message);

// A Begin Sample Transfer (Acknowledge): the sample number and packet length.
struct SBeginTransfer {
    uint32_t sampleNumber = 0;
    uint32_t packetLength = 0;
};
// XSMDIUnexpectedMessage unless the data is exactly 6 bytes.
SBeginTransfer ParseBeginTransfer(const CSMDIMessage& message);

// Bytes per sample word for `bits`: (bits + 7) / 8.
inline uint32_t WordBytes(uint32_t bits) { return (bits + 7) / 8; }

// 0 for words of up to 8 bits, 1 up to 16, 2 above.
inline int32_t WordsPerFrameOut(uint32_t bits) { return bits <= 8 ? 0 : bits <= 16 ? 1 : 2; }

// Packs `count` sample words big-endian, `WordBytes(bits)` bytes each. Up to
// 16 bits the words are 16-bit (up to 8 bits the high byte goes out), above
// they are 32-bit left-justified and their top bytes go out.
void EncodeWords(uint32_t bits, const int16_t* narrow, const int32_t* wide, size_t count, uint8_t* out);
// The reverse: into 16-bit words (a single byte lands in the high half) or
// 32-bit left-justified words (the first byte sign-extended).
void DecodeWords(uint32_t bits, const uint8_t* in, size_t count, int16_t* narrow, int32_t* wide);

} // namespace quorvel::smdi
