#pragma once
// The Ensoniq samplers of the model table as the emulated Ensoniq sampler
// plays them: the value it writes into a new instrument's identity word,
// whether it keeps stereo layer pairs and how many sample words it holds.
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

struct SEnsoniqEmulatorModel {
    std::string id;   // the model table's type id, "3010"
    std::string name; // "Ensoniq EPS-16+ via MIDI"
    uint16_t instrumentIdentity = 0; // word 25 of a new instrument block
    bool stereo = false;
    uint32_t memoryWords = 0;
};

const std::vector<SEnsoniqEmulatorModel>& EnsoniqEmulatorModels();
// nullptr when `id` is not an Ensoniq model.
const SEnsoniqEmulatorModel* FindEnsoniqEmulatorModel(const std::string& id);

} // namespace quorvel
