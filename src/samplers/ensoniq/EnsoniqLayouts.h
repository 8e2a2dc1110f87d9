#pragma once
// The instrument, layer and wave parameter blocks as they travel: runs of
// 16-bit words, each sent as a 3-byte sample word, at the word offsets the
// published EPS-16 PLUS external command document (section 7) gives. Byte values
// sit in the high byte of their word. This is the one place that knows them
// (docs/ENSONIQ-LAYOUTS.md says where each comes from).
#include <cstdint>

namespace quorvel::ensoniq {

constexpr int kNameLength = 12;
constexpr uint32_t kInstruments = 8;
constexpr uint32_t kLayersPerInstrument = 8;
// Waves are numbered 1 to 127 within their instrument.
constexpr uint32_t kFirstWave = 1;
constexpr uint32_t kLastWave = 127;

namespace instrument {
constexpr uint16_t kWords = 323;
constexpr uint16_t kName = 0;
constexpr uint16_t kKeyDownLayers = 21; // bit map of layers
constexpr uint16_t kIdField = 25;       // 0xFFFF on an EPS-16 PLUS
constexpr uint16_t kKeyLow = 26;
constexpr uint16_t kKeyHigh = 27;
} // namespace instrument

namespace layer {
constexpr uint16_t kWords = 107;
constexpr uint16_t kName = 0;
// Low byte of the legato word, bit 0: the layer holds stereo waves (ASR-10;
// no published layout known).
constexpr uint16_t kStereoWord = 14;
constexpr uint16_t kVelocityLow = 15;
constexpr uint16_t kVelocityHigh = 16;
// One wave number per key, from key 21 (A0) for 88 keys.
constexpr uint16_t kMap = 19;
constexpr uint16_t kMapKeys = 88;
constexpr uint8_t kFirstMapKey = 21;
} // namespace layer

namespace wave {
constexpr uint16_t kWords = 139;
constexpr uint16_t kName = 0;
constexpr uint16_t kRootKey = 80;
constexpr uint16_t kFineTune = 86; // signed 7-bit fraction
constexpr uint16_t kVolume = 99;
constexpr uint16_t kLoopMode = 114;
// 32-bit fields over the high bytes of four words, the word offset shifted left 9.
constexpr uint16_t kSampleStart = 115;
constexpr uint16_t kSampleEnd = 119;
constexpr uint16_t kLoopStart = 123;
constexpr uint16_t kLoopEnd = 127;
constexpr int kOffsetShift = 9;
// Sample period in units of 1.6 microseconds.
constexpr uint16_t kRate = 131;
constexpr uint16_t kKeyLow = 132;
constexpr uint16_t kKeyHigh = 133;
// An unused word: the channel count of an ASR-10 wave (no published layout known).
constexpr uint16_t kChannels = 138;
} // namespace wave

// Loop modes (table 8).
constexpr uint8_t kForwardNoLoop = 0;
constexpr uint8_t kLoopForward = 2;
constexpr uint8_t kLoopBidirectional = 3;
constexpr uint8_t kLoopAndRelease = 4;

// A rate from its period code and back: period = code x 1.6 us.
constexpr uint32_t kPeriodBase = 625000;
constexpr uint32_t RateOfPeriod(uint32_t code) { return code == 0 ? 0 : (kPeriodBase + code / 2) / code; }

// A wave's sample number: its instrument times 128 plus its number there.
constexpr uint32_t kSampleNumbersPerInstrument = 128;
constexpr int32_t SampleNumberOf(uint32_t instrument, uint32_t wave)
{
    return static_cast<int32_t>(instrument * kSampleNumbersPerInstrument + wave);
}
constexpr uint32_t InstrumentOf(int32_t number) { return static_cast<uint32_t>(number) / kSampleNumbersPerInstrument; }
constexpr uint32_t WaveOf(int32_t number) { return static_cast<uint32_t>(number) % kSampleNumbersPerInstrument; }
constexpr bool IsWaveNumber(int32_t number)
{
    return number >= 0 && InstrumentOf(number) < kInstruments && WaveOf(number) >= kFirstWave;
}

} // namespace quorvel::ensoniq
