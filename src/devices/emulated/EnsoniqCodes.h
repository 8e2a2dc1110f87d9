#pragma once
// The numbers of the Ensoniq external command set the emulated Ensoniq
// sampler speaks: command and status codes, and where it looks in the
// instrument, layer and wavesample blocks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "devices/emulated/EnsoniqMemory.h"

namespace quorvel::ensoniq {

inline constexpr uint8_t kEnsoniq = 0x0F;
inline constexpr uint8_t kProduct = 0x03;
inline constexpr uint8_t kChannel = 0x00;

// Command codes of the external command set.
inline constexpr uint8_t kResponse = 0x01;
inline constexpr uint8_t kCancel = 0x02;
inline constexpr uint8_t kGetInstrument = 0x03;
inline constexpr uint8_t kGetLayer = 0x04;
inline constexpr uint8_t kGetWave = 0x05;
inline constexpr uint8_t kGetWaveData = 0x06;
inline constexpr uint8_t kPutInstrument = 0x0C;
inline constexpr uint8_t kPutLayer = 0x0D;
inline constexpr uint8_t kPutWave = 0x0E;
inline constexpr uint8_t kPutWaveData = 0x0F;
inline constexpr uint8_t kCreateInstrument = 0x15;
inline constexpr uint8_t kCreateLayer = 0x16;
inline constexpr uint8_t kDeleteLayer = 0x17;
inline constexpr uint8_t kCreateWave = 0x19;
inline constexpr uint8_t kDeleteWave = 0x1A;
inline constexpr uint8_t kDeleteInstrument = 0x1C;
inline constexpr uint8_t kButtonPress = 0x40;
// A GET is answered with the PUT this far above it.
inline constexpr uint8_t kGetToPut = kPutInstrument - kGetInstrument;

// Response status codes.
inline constexpr uint16_t kAck = 0x00;
inline constexpr uint16_t kWait = 0x01;
inline constexpr uint16_t kInvalidValue = 0x04;
inline constexpr uint16_t kInvalidInstrument = 0x05;
inline constexpr uint16_t kInvalidLayer = 0x06;
inline constexpr uint16_t kLayerInUse = 0x07;
inline constexpr uint16_t kInvalidWave = 0x08;
inline constexpr uint16_t kInvalidRange = 0x0A;
inline constexpr uint16_t kMemoryFull = 0x0C;
inline constexpr uint16_t kInstrumentInUse = 0x0D;
inline constexpr uint16_t kNoMoreWaves = 0x0F;
inline constexpr uint16_t kDiskFull = 0x15;
inline constexpr uint16_t kNak = 0x17;

// Message lengths, F0 to F7.
inline constexpr size_t kResponseLength = 8;
inline constexpr size_t kCancelLength = 6;
inline constexpr size_t kAddressLength = 12;
inline constexpr size_t kRangeLength = 20;
inline constexpr size_t kValueLength = 8;

// Blocks: word offsets.
inline constexpr size_t kNameWords = 12;
inline constexpr size_t kInstrumentPatch0 = 17;
inline constexpr size_t kInstrumentIdentity = 25;
inline constexpr size_t kInstrumentHighKey = 27;
inline constexpr size_t kLayerLink = 14; // low byte, stereo models
inline constexpr size_t kLayerVelocityHigh = 16;
inline constexpr size_t kLayerMap = 19;
inline constexpr size_t kKeys = 88;
inline constexpr size_t kWaveRootKey = 80;
inline constexpr size_t kWaveStart = 115;
inline constexpr size_t kWaveEnd = 119;
inline constexpr size_t kWaveLoopStart = 123;
inline constexpr size_t kWaveLoopEnd = 127;
inline constexpr size_t kWaveRate = 131;
inline constexpr size_t kWaveLowKey = 132;
inline constexpr size_t kWaveHighKey = 133;
// Sample offsets: 20 bits on the wire, and in a block a 32-bit field in
// the high bytes of four words, the word offset shifted left 9.
inline constexpr uint32_t kLastOffset = 0xFFFFF;
inline constexpr uint32_t kOffsetShift = 9;
// A 44.1 kHz period in 1.6 us steps.
inline constexpr uint16_t kDefaultRate = 14;

// A name of up to 12 characters, one a word in its high byte, blank-padded.
inline void PutName(EnsoniqWords& block, const std::string& name)
{
    for (size_t i = 0; i < kNameWords; ++i)
        block[i] = static_cast<uint16_t>((i < name.size() ? name[i] : ' ') << 8);
}

// A sample offset into the four words of a block's offset field.
inline void PutOffset(EnsoniqWords& block, size_t at, uint32_t offset)
{
    const uint32_t field = offset << kOffsetShift;
    for (size_t i = 0; i < 4; ++i)
        block[at + i] = static_cast<uint16_t>(((field >> (24 - 8 * i)) & 0xFF) << 8);
}

inline uint16_t HighByte(uint16_t word) { return static_cast<uint16_t>(word >> 8); }

} // namespace quorvel::ensoniq
