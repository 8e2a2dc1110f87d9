#pragma once
// The sound parameters of a SampleCell instrument (envelopes, LFOs,
// modulation): built-in defaults, or taken from a template instrument.
#include <cstdint>
#include <vector>

#include "framework/Media.h"
#include "framework/FourCC.h"
#include "framework/XBase.h"

namespace quorvel {

// The template could not be read: not a chunk file, or its key map or
// general block missing or cut short.
QUORVEL_EXCEPTION(XSampleCellTemplate, XBase);

// One parameter block, stored whole: for the blocks with a header its
// record count (16 bits), record size (8 bits) and a zero byte come first.
struct SampleCellBlock {
    FourCC id;
    uint16_t count = 0;      // records; 0 for the header-less general block
    uint8_t recordSize = 0;
    std::vector<uint8_t> bytes;
};

struct SampleCellParameters {
    uint16_t templateKey = 0;            // second word of the first key zone
    std::vector<SampleCellBlock> blocks; // GenP, EnvP, LFOP, Ramp, TrkP, ModP

    static SampleCellParameters Defaults();
};

// Defaults overlaid with what the template holds: its first key zone's
// value, its whole general block, and each other block whose header states
// exactly the default record count and size.
SampleCellParameters ReadSampleCellTemplate(CMedia& media);

} // namespace quorvel
