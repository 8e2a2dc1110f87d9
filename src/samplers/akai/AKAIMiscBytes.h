#pragma once
// The S3000 family's miscellaneous variables, read and set a few bytes at a
// time: F0 47 cc 33|34 48, data index (14 bits), bank, 0 0, byte count
// (14 bits), then for 34 the bytes as nibbles, F7. A request is the frame
// alone (13 bytes).
#include <cstdint>
#include <vector>

#include "devices/midi/RawSysex.h"

namespace quorvel::akai {

// The banks, each with its own width.
enum class EMiscBank : uint8_t {
    Byte = 1,
    Word = 2,
    DoubleWord = 3,
    SMPTE = 4,
    SignedSMPTE = 5,
    Name = 6,
    Flags = 7, // sixteen one-byte flags
};

// Bytes one item of `bank` takes: 1, 2, 4, 5, 6, 12, 16; 0 for an unknown bank.
int32_t MiscBankBytes(uint8_t bank);

// Asks for the item `index` of `bank`, as many bytes as the bank's items take.
CRawSysex MiscBytesRequest(uint8_t channel, uint16_t index, EMiscBank bank);

class CS3000MiscBytesReply {
public:
    CS3000MiscBytesReply() = default;
    CS3000MiscBytesReply(uint16_t index, EMiscBank bank, std::vector<uint8_t> bytes);

    // XAKAINonAKAISysex, XSysexTooSmall; XAKAIUnexpectedCommand for another
    // operation than 34; XSysexInvalidSize when the length does not fit the
    // count; XAKAIInvalidFormat for a count of 0, a nibble above 15 or
    // reserved bytes that are not 0.
    void FromMessage(const CRawSysex& message);
    // The data message (34), which sets the item on the sampler.
    CRawSysex ToMessage(uint8_t channel) const;

    uint16_t Index() const { return index_; }
    uint8_t Bank() const { return bank_; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    // The bytes as one number, least significant first like the header fields.
    uint32_t Value() const;

private:
    uint16_t index_ = 0;
    uint8_t bank_ = 0;
    std::vector<uint8_t> bytes_;
};

} // namespace quorvel::akai
