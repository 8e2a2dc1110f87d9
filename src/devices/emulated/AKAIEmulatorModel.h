#pragma once
// The AKAI samplers of the model table that are reached over MIDI, as the
// emulated AKAI sampler plays them: which generation's message formats each
// speaks, the operating-system version its status report gives and how much
// it holds.
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

struct SAKAIEmulatorModel {
    std::string id;   // the model table's type id, "4100"
    std::string name; // "AKAI S3000 via MIDI"
    // The older generation: fixed-size 150-byte blocks without offsets;
    // otherwise 192-byte blocks carrying an offset and a byte count.
    bool olderGeneration = false;
    uint8_t osMajor = 2;
    uint8_t osMinor = 0;
    uint32_t maxSampleWords = 0;

    // Data bytes of one sample header, program header or keygroup block.
    size_t BlockBytes() const { return olderGeneration ? 150 : 192; }
};

const std::vector<SAKAIEmulatorModel>& AKAIEmulatorModels();
// nullptr when `id` is not an AKAI MIDI model.
const SAKAIEmulatorModel* FindAKAIEmulatorModel(const std::string& id);

} // namespace quorvel
