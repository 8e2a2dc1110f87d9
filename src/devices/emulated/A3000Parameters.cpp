#include "devices/emulated/A3000Parameters.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr size_t kCommonBytes = 64;

void PutBE(A3000Bytes& block, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        block[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

uint32_t GetBE(const A3000Bytes& block, size_t at)
{
    return static_cast<uint32_t>(block[at]) << 24 | block[at + 1] << 16 | block[at + 2] << 8 | block[at + 3];
}

A3000Bytes Common(size_t size, uint8_t type, const A3000Name& name, const SA3000SoundFields& fields)
{
    A3000Bytes block(size, 0);
    block[0] = type;
    std::copy(name.begin(), name.end(), block.begin() + 2);
    PutBE(block, 19, fields.words);
    PutBE(block, kCommonBytes, fields.rate);
    block[68] = fields.key;
    block[69] = static_cast<uint8_t>(fields.tune);
    return block;
}

} // namespace

A3000Bytes A3000WaveBlock(const A3000Name& name, const SA3000SoundFields& fields)
{
    return Common(kA3000WaveBlockBytes, kA3000WaveObject, name, fields);
}

A3000Bytes A3000SampleParameters(const A3000Name& name, const SA3000SoundFields& fields)
{
    A3000Bytes block = Common(kA3000SampleParameterBytes, 16, name, fields);
    block[70] = fields.loopMode;
    PutBE(block, 72, fields.loopStart);
    PutBE(block, 76, fields.loopEnd);
    return block;
}

SA3000SoundFields A3000FieldsOfWaveBlock(const A3000Bytes& block)
{
    SA3000SoundFields fields;
    if (block.size() < kA3000WaveBlockBytes)
        return fields;
    fields.words = GetBE(block, 19);
    const uint32_t rate = GetBE(block, kCommonBytes);
    if (rate == 0)
        return fields;
    fields.rate = rate;
    fields.key = std::min<uint8_t>(block[68], 127);
    fields.tune = static_cast<int8_t>(block[69]);
    return fields;
}

} // namespace quorvel
