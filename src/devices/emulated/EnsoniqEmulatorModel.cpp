#include "devices/emulated/EnsoniqEmulatorModel.h"

namespace quorvel {

const std::vector<SEnsoniqEmulatorModel>& EnsoniqEmulatorModels()
{
    // Each with its largest memory: the EPS with its 4x expander (1M words),
    // the EPS-16+ with 4 MB, the ASR-10 with 16 MB.
    static const std::vector<SEnsoniqEmulatorModel> models = {
        {"3000", "Ensoniq EPS via MIDI", 0x0000, false, 1u << 20},
        {"3010", "Ensoniq EPS-16+ via MIDI", 0xFFFF, false, 2u << 20},
        {"3020", "Ensoniq ASR-10/ASR-88 via MIDI", 0xFFFE, true, 8u << 20},
    };
    return models;
}

const SEnsoniqEmulatorModel* FindEnsoniqEmulatorModel(const std::string& id)
{
    for (const SEnsoniqEmulatorModel& model : EnsoniqEmulatorModels())
        if (model.id == id)
            return &model;
    return nullptr;
}

} // namespace quorvel
