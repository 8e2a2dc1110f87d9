#include "devices/scsi/SCSICommandBlock.h"

namespace quorvel {

size_t CommandBlockLength(uint8_t opcode)
{
    switch (opcode >> 5) {
    case 0:
        return 6;
    case 1:
        return 10;
    case 5:
        return 12;
    default:
        return 0;
    }
}

SixByteBlock MakeCommandBlock(uint8_t opcode)
{
    SixByteBlock block{};
    block[0] = opcode;
    return block;
}

void SetBlockAddress(SixByteBlock& block, uint32_t value)
{
    block[2] = static_cast<uint8_t>(value >> 16);
    block[3] = static_cast<uint8_t>(value >> 8);
    block[4] = static_cast<uint8_t>(value);
}

} // namespace quorvel
