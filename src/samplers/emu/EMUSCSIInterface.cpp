#include "samplers/emu/EMUSCSIInterface.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quorvel {

namespace {

constexpr std::array<uint32_t, 6> kRates{8000, 11025, 22050, 32000, 44100, 48000};

// Which choices the transmit and receive dialogs offer, by position.
constexpr std::array<uint8_t, SamplerCapabilities::kFeatureCount> kFeatures{
    0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0};
constexpr int32_t kBrandNumber = 74;
constexpr int32_t kBrandCount = 256;

} // namespace

uint32_t EMUSampleRate(uint32_t rate)
{
    const auto above = std::lower_bound(kRates.begin(), kRates.end(), rate);
    return above == kRates.end() ? kRates.back() : *above;
}

CEMUSCSIInterface::CEMUSCSIInterface(const SCSIDevice& device) : CSMDIExtendedSamplerInterface(device) {}

void CEMUSCSIInterface::DeleteSample(int32_t sampleNumber) { CSMDIExtendedSamplerInterface::DeleteSample(sampleNumber); }

void CEMUSCSIInterface::AdaptSampleInfo(SampleInfo& info)
{
    info.rate = EMUSampleRate(info.rate);
    info.playStart = 0;
    if (info.length < kMinimumFrames)
        info.length = kMinimumFrames;
    CSMDIExtendedSamplerInterface::AdaptSampleInfo(info);
}

void CEMUSCSIInterface::GetCapabilities(SamplerCapabilities& capabilities)
{
    capabilities = SamplerCapabilities();
    std::strncpy(capabilities.protocolName, kProtocolName, sizeof capabilities.protocolName - 1);
    capabilities.brandNumber = kBrandNumber;
    capabilities.features = kFeatures;
    capabilities.brandCount = kBrandCount;
    capabilities.lowestSampleNumber = kLowestSampleNumber;
    capabilities.highestSampleNumber = kHighestSampleNumber;
}

} // namespace quorvel
