#include "samplers/smdi/SMDIExtendedSamplerInterface.h"

#include "samplers/smdi/SMDI.h"
#include "samplers/smdi/SMDIExtendedReceiver.h"
#include "samplers/smdi/SMDIExtendedSampleHeader.h"
#include "samplers/smdi/SMDIExtendedTransmitter.h"

namespace quorvel {

CSMDIExtendedSamplerInterface::CSMDIExtendedSamplerInterface(const SCSIDevice& device)
    : CSMDISamplerInterface(device)
{
}

void CSMDIExtendedSamplerInterface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    const CSMDISampleHeader header =
        CSMDI(Device()).GetSampleHeader(CheckedNumber(sampleNumber), CSMDIExtendedSampleHeader().MaxMessageSize());
    CSMDIExtendedSampleHeader(header).ToSampleInfo(info);
}

std::unique_ptr<CABCSampleReceiver> CSMDIExtendedSamplerInterface::CreateReceiver(int32_t sampleNumber)
{
    return std::make_unique<CSMDIExtendedReceiver>(Device(), static_cast<int32_t>(CheckedNumber(sampleNumber)));
}

std::unique_ptr<CABCSampleTransmitter> CSMDIExtendedSamplerInterface::CreateTransmitter(int32_t sampleNumber)
{
    return std::make_unique<CSMDIExtendedTransmitter>(Device(), static_cast<int32_t>(CheckedNumber(sampleNumber)));
}

void CSMDIExtendedSamplerInterface::AdaptSampleInfo(SampleInfo& info)
{
    CSMDIExtendedSampleHeader(info, 0).ToSampleInfo(info);
}

} // namespace quorvel
