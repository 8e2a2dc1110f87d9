#include "samplers/emu/EMURecognizer.h"

#include "samplers/SamplerModels.h"
#include "samplers/emu/EMUInquiry.h"

namespace quorvel {

std::vector<SFoundSampler> CEMURecognizer::RecognizeSCSITarget(const SSCSITargetSeen& target) const
{
    const std::optional<SEMUInquiry> inquiry = ReadEMUInquiry(target.inquiry.data(), target.inquiry.size());
    if (!inquiry)
        return {};
    const uint32_t model = DetectedEMUModel(*inquiry);
    if (model == 0 || FindSamplerModel(model) == nullptr)
        return {};
    SFoundSampler found;
    found.typeId = model;
    found.scsiBus = target.bus;
    found.scsiId = target.id;
    found.foundViaSCSI = true;
    found.versionKnown = true;
    found.osVersion = inquiry->firmware;
    return {found};
}

} // namespace quorvel
