#include "samplers/akai/AKAIDataBlock.h"

#include <algorithm>

#include "devices/midi/MIDIExceptions.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"

namespace quorvel::akai {

CAKAIDataBlock::CAKAIDataBlock(EGeneration generation, uint8_t blockId, bool keyGroupNumbered)
    : generation_(generation), blockId_(blockId), keyGroupNumbered_(keyGroupNumbered),
      bytes_(generation == EGeneration::S1000 ? kS1000BlockBytes : kS3000BlockBytes, 0)
{
    bytes_[0] = blockId;
}

int32_t CAKAIDataBlock::DataOffset() const
{
    if (generation_ == EGeneration::S3000)
        return kS3000FrameBytes;
    return keyGroupNumbered_ ? 8 : 7;
}

int32_t CAKAIDataBlock::MessageLength() const { return DataOffset() + 2 * Size() + 1; }

CRawSysex CAKAIDataBlock::ToMessage(uint8_t channel, uint8_t operation) const
{
    CRawSysex message(MessageLength());
    uint8_t* out = message.GetData();
    out[0] = 0xF0;
    out[1] = kManufacturer;
    out[2] = channel & 0x7F;
    out[3] = operation;
    out[4] = kModel;
    Put14(out + 5, number_);
    if (generation_ == EGeneration::S3000) {
        out[7] = keyGroupNumbered_ ? keyGroup_ & 0x7F : 0;
        Put14(out + 8, 0);
        Put14(out + 10, static_cast<uint32_t>(Size()));
    } else if (keyGroupNumbered_) {
        out[7] = keyGroup_ & 0x7F;
    }
    EncodeNibbles(bytes_.data(), Size(), out + DataOffset());
    out[message.GetLength() - 1] = 0xF7;
    return message;
}

void CAKAIDataBlock::FromMessage(const CRawSysex& message, std::initializer_list<uint8_t> operations)
{
    CheckAKAI(message);
    if (std::find(operations.begin(), operations.end(), Operation(message)) == operations.end())
        throw XAKAIUnexpectedCommand();
    if (message.GetLength() != MessageLength())
        throw XSysexInvalidSize();
    const uint8_t* in = message.GetData();
    if (generation_ == EGeneration::S3000 && (Get14(in + 8) != 0 || Get14(in + 10) != Size()))
        throw XAKAIInvalidFormat();
    std::vector<uint8_t> decoded(bytes_.size());
    DecodeNibbles(in + DataOffset(), Size(), decoded.data());
    if (decoded[0] != blockId_)
        throw XAKAIInvalidFormat();
    number_ = Get14(in + 5);
    if (keyGroupNumbered_)
        keyGroup_ = in[7];
    bytes_ = std::move(decoded);
}

uint32_t CAKAIDataBlock::Get(int32_t offset, int32_t width) const
{
    uint32_t value = 0;
    for (int32_t i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes_[static_cast<size_t>(offset + i)];
    return value;
}

void CAKAIDataBlock::Put(int32_t offset, int32_t width, uint32_t value)
{
    for (int32_t i = 0; i < width; ++i) {
        bytes_[static_cast<size_t>(offset + i)] = static_cast<uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

} // namespace quorvel::akai
