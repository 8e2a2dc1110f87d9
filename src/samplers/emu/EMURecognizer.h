#pragma once
// Finding E-mu samplers during a search: a SCSI target whose inquiry answer
// names a known model. An E-mu answer with a product this program does not
// know is not offered.
#include "samplers/SamplerRecognizer.h"

namespace quorvel {

class CEMURecognizer final : public CABCSamplerRecognizer {
public:
    std::vector<SFoundSampler> RecognizeSCSITarget(const SSCSITargetSeen& target) const override;
};

} // namespace quorvel
