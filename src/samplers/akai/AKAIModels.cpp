#include "samplers/akai/AKAIModels.h"

namespace quorvel::akai {

std::optional<EGeneration> MIDIModelGeneration(uint32_t typeId)
{
    switch (typeId) {
    case kS1000MIDIModel:
    case kS1100MIDIModel:
        return EGeneration::S1000;
    case 4130: // S2000
    case 4110: // S2800
    case kS3000MIDIModel:
    case 4150: // S3000XL
    case 4140: // S3200
    case 4160: // S3200XL
    case 4120: // CD3000
    case 4170: // CD3000XL
        return EGeneration::S3000;
    default:
        return std::nullopt;
    }
}

bool IsSCSIModel(uint32_t typeId)
{
    switch (typeId) {
    case 4131: // S2000
    case 4151: // S3000XL
    case 4161: // S3200XL
    case 4171: // CD3000XL
        return true;
    default:
        return false;
    }
}

} // namespace quorvel::akai
