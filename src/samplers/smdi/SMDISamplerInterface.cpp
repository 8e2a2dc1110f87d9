#include "samplers/smdi/SMDISamplerInterface.h"

#include <cstring>

#include "samplers/SamplerExceptions.h"
#include "samplers/smdi/SMDI.h"
#include "samplers/smdi/SMDIReceiver.h"
#include "samplers/smdi/SMDITransmitter.h"

namespace quorvel {

CSMDISamplerInterface::CSMDISamplerInterface(const SCSIDevice& device) : device_(device) {}

uint32_t CSMDISamplerInterface::CheckedNumber(int32_t sampleNumber)
{
    if (sampleNumber < 0 || sampleNumber > kHighestSampleNumber)
        throw XSampleDoesNotExist();
    return static_cast<uint32_t>(sampleNumber);
}

void CSMDISamplerInterface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    CSMDI(device_).GetSampleHeader(CheckedNumber(sampleNumber)).ToSampleInfo(info);
}

std::unique_ptr<CABCSampleReceiver> CSMDISamplerInterface::CreateReceiver(int32_t sampleNumber)
{
    return std::make_unique<CSMDIReceiver>(device_, static_cast<int32_t>(CheckedNumber(sampleNumber)));
}

std::unique_ptr<CABCSampleTransmitter> CSMDISamplerInterface::CreateTransmitter(int32_t sampleNumber)
{
    return std::make_unique<CSMDITransmitter>(device_, static_cast<int32_t>(CheckedNumber(sampleNumber)));
}

void CSMDISamplerInterface::DeleteSample(int32_t sampleNumber)
{
    CSMDI(device_).DeleteSample(CheckedNumber(sampleNumber));
}

void CSMDISamplerInterface::AdaptSampleInfo(SampleInfo& info)
{
    CSMDISampleHeader(info, 0).ToSampleInfo(info);
}

void CSMDISamplerInterface::GetCapabilities(SamplerCapabilities& capabilities)
{
    capabilities = SamplerCapabilities{};
    std::strncpy(capabilities.protocolName, kProtocolName, SamplerCapabilities::kProtocolNameCapacity - 1);
    capabilities.brandNumber = 74;
    // The 22nd flag is left as it is (0).
    constexpr uint8_t kFlags[] = {0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0};
    static_assert(sizeof kFlags == SamplerCapabilities::kFeatureCount);
    std::copy(std::begin(kFlags), std::end(kFlags), capabilities.features.begin());
    capabilities.brandCount = 256;
    capabilities.brandBytes = {0, 0, 0};
    capabilities.lowestSampleNumber = 0;
    capabilities.highestSampleNumber = kHighestSampleNumber;
}

void CSMDISamplerInterface::FillSampleList(int32_t, CSampleList&, uint32_t) {}

} // namespace quorvel
