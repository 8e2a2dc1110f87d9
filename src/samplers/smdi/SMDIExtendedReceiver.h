#pragma once
// The SMDI receiver that reads the extended Sample Header when the sampler
// gives one back, and a plain one otherwise.
#include "samplers/smdi/SMDIReceiver.h"

namespace quorvel {

class CSMDIExtendedReceiver : public CSMDIReceiver {
public:
    using CSMDIReceiver::CSMDIReceiver;
    ~CSMDIExtendedReceiver() override { StopQuietly(); }

protected:
    CSMDISampleHeader ReadHeader() override;
    void HeaderToInfo(const CSMDISampleHeader& header, SampleInfo& info) const override;
};

} // namespace quorvel
