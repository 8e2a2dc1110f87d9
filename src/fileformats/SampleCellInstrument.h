#pragma once
// The SampleCell instrument file: a RIFF "SCin" group without pad bytes that
// names the slice files and maps slice i to key 36 + i.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Media.h"
#include "fileformats/SampleCellParameters.h"

namespace quorvel {

struct SampleCellTuning {
    uint8_t rootKey = 60;
    uint16_t fineTune = 63; // 63 is in tune; one step is 50/63 cent
};

// The key and fine tune that make slices pitched by `cents` play in tune.
SampleCellTuning SampleCellTuningFor(bool pitchMode, int cents);

struct SampleCellSlice {
    std::string fileName; // with extension, e.g. "Groov001.wav"
    int32_t frames = 0;
};

struct SampleCellInstrument {
    static constexpr int kMaxSlices = 60;
    static constexpr int kFirstKey = 36;

    std::vector<SampleCellSlice> slices;
    SampleCellTuning tuning;
    SampleCellParameters parameters = SampleCellParameters::Defaults();
};

void WriteSampleCellInstrument(CMedia& media, const SampleCellInstrument& instrument);

} // namespace quorvel
