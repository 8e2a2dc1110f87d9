#include "samplers/akai/AKAISCSIInterface.h"

#include "samplers/akai/AKAISCSICom.h"

namespace quorvel {

CAKAISCSIInterface::CAKAISCSIInterface(const SCSIDevice& device, uint8_t channel)
    : CABCAKAIInterface(std::make_unique<CAKAISCSICom>(device, channel), akai::EGeneration::S3000)
{
}

} // namespace quorvel
