#include "devices/emulated/AKAIEmulatorModel.h"

namespace quorvel {

const std::vector<SAKAIEmulatorModel>& AKAIEmulatorModels()
{
    // The older machines hold up to 4M words of sample memory, the later
    // ones 16M; the versions are the least each model must run.
    static const std::vector<SAKAIEmulatorModel> models = {
        {"4000", "AKAI S1000 via MIDI", true, 4, 40, 4u << 20},
        {"4010", "AKAI S1100 via MIDI", true, 4, 30, 4u << 20},
        {"4130", "AKAI S2000 via MIDI", false, 2, 0, 16u << 20},
        {"4110", "AKAI S2800 via MIDI", false, 2, 0, 16u << 20},
        {"4100", "AKAI S3000 via MIDI", false, 2, 0, 16u << 20},
        {"4150", "AKAI S3000XL via MIDI", false, 2, 0, 16u << 20},
        {"4140", "AKAI S3200 via MIDI", false, 2, 0, 16u << 20},
        {"4160", "AKAI S3200XL via MIDI", false, 2, 0, 16u << 20},
        {"4120", "AKAI CD3000 via MIDI", false, 2, 0, 16u << 20},
        {"4170", "AKAI CD3000XL via MIDI", false, 2, 0, 16u << 20},
    };
    return models;
}

const SAKAIEmulatorModel* FindAKAIEmulatorModel(const std::string& id)
{
    for (const SAKAIEmulatorModel& model : AKAIEmulatorModels())
        if (model.id == id)
            return &model;
    return nullptr;
}

} // namespace quorvel
