#pragma once
// The instrument, layer and wave parameter blocks as they travel, field by
// field, each field a run of 12-bit (2 bytes) or 24-bit (4 bytes) values.
// This is the one place that knows them (docs/ENSONIQ-LAYOUTS.md says where
// each comes from).
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvel::ensoniq {

struct SField {
    std::string_view name;
    uint8_t bytes;   // per value: 2 or 4
    uint16_t count;  // values in the run
    uint32_t initial;
};

constexpr int kNameLength = 12;
// Waves an instrument can hold, numbered from 0; the wave tables of the
// instrument and layer blocks have one entry per wave: 0 for a free wave,
// otherwise the number of the layer that holds it plus 1.
constexpr uint32_t kWavesPerInstrument = 127;
constexpr uint32_t kInstruments = 8;
constexpr uint32_t kLayersPerInstrument = 8;

// Wave loop modes.
constexpr uint32_t kLoopOff = 0;
constexpr uint32_t kLoopForward = 1;
constexpr uint32_t kLoopAlternating = 2;
// Fine tune travels offset by this.
constexpr uint32_t kFineTuneOffset = 2048;

const std::vector<SField>& InstrumentLayout();
const std::vector<SField>& EPSLayerLayout();
const std::vector<SField>& EPS16LayerLayout();
const std::vector<SField>& ASR10LayerLayout();
const std::vector<SField>& EPSWaveLayout();
const std::vector<SField>& EPS16WaveLayout();

} // namespace quorvel::ensoniq

namespace quorvel::ensoniq {

// A wave's sample number: its instrument times 128 plus its number there.
constexpr uint32_t kSampleNumbersPerInstrument = 128;
constexpr int32_t SampleNumberOf(uint32_t instrument, uint32_t wave)
{
    return static_cast<int32_t>(instrument * kSampleNumbersPerInstrument + wave);
}
constexpr uint32_t InstrumentOf(int32_t number) { return static_cast<uint32_t>(number) / kSampleNumbersPerInstrument; }
constexpr uint32_t WaveOf(int32_t number) { return static_cast<uint32_t>(number) % kSampleNumbersPerInstrument; }
// True for a number that can name a wave.
constexpr bool IsWaveNumber(int32_t number)
{
    return number >= 0 && InstrumentOf(number) < kInstruments && WaveOf(number) < kWavesPerInstrument;
}

} // namespace quorvel::ensoniq
