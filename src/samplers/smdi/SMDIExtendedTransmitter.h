#pragma once
// The SMDI transmitter that sends the extended Sample Header.
#include "samplers/smdi/SMDITransmitter.h"

namespace quorvel {

class CSMDIExtendedTransmitter : public CSMDITransmitter {
public:
    using CSMDITransmitter::CSMDITransmitter;
    ~CSMDIExtendedTransmitter() override { StopQuietly(); }

    void SendSampleHeader(const SampleInfo& info) override;
};

} // namespace quorvel
