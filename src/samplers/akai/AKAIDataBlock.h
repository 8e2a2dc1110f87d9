#pragma once
// A header block as it travels in nibbles: the S1000 sends its 150-byte
// blocks after the item number (and, for keygroups, the keygroup number);
// the S3000 family frames its 192-byte blocks with an item number, one
// further byte (the keygroup number, else 0), the byte offset and the byte
// count. Derived classes give the bytes their meaning.
#include <cstdint>
#include <vector>

#include "devices/midi/RawSysex.h"

namespace quorvel::akai {

enum class EGeneration { S1000, S3000 };

constexpr int32_t kS1000BlockBytes = 150;
constexpr int32_t kS3000BlockBytes = 192;
constexpr int32_t kS3000FrameBytes = 12; // F0 47 cc op 48 ii ii kk oo oo nn nn

class CAKAIDataBlock {
public:
    CAKAIDataBlock(EGeneration generation, uint8_t blockId, bool keyGroupNumbered);
    virtual ~CAKAIDataBlock() = default;

    EGeneration Generation() const { return generation_; }
    int32_t Size() const { return static_cast<int32_t>(bytes_.size()); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::vector<uint8_t>& Bytes() { return bytes_; }

    uint16_t Number() const { return number_; }
    void SetNumber(uint16_t number) { number_ = number; }
    uint8_t KeyGroupNumber() const { return keyGroup_; }
    void SetKeyGroupNumber(uint8_t number) { keyGroup_ = number; }

    // The message that carries the block with operation `operation`.
    CRawSysex ToMessage(uint8_t channel, uint8_t operation) const;
    // Reads a block message. XAKAINonAKAISysex, XSysexTooSmall; XAKAIUnexpectedCommand
    // when its operation is none of `operations`; XSysexInvalidSize for another
    // length; XAKAIInvalidFormat for an S3000 frame of another offset or count,
    // or a first byte that is not the block id.
    void FromMessage(const CRawSysex& message, std::initializer_list<uint8_t> operations);
    // The message length for this generation.
    int32_t MessageLength() const;

    // Little-endian fields.
    uint32_t Get(int32_t offset, int32_t width) const;
    void Put(int32_t offset, int32_t width, uint32_t value);

private:
    int32_t DataOffset() const;

    EGeneration generation_;
    uint8_t blockId_;
    bool keyGroupNumbered_;
    uint16_t number_ = 0;
    uint8_t keyGroup_ = 0;
    std::vector<uint8_t> bytes_;
};

} // namespace quorvel::akai
