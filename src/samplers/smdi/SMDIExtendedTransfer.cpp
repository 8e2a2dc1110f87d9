#include "samplers/smdi/SMDIExtendedReceiver.h"
#include "samplers/smdi/SMDIExtendedSampleHeader.h"
#include "samplers/smdi/SMDIExtendedTransmitter.h"

namespace quorvel {

void CSMDIExtendedTransmitter::SendSampleHeader(const SampleInfo& info)
{
    Connection().Send(CSMDIExtendedSampleHeader(info, SampleNumber()).Message());
}

CSMDISampleHeader CSMDIExtendedReceiver::ReadHeader()
{
    return Connection().GetSampleHeader(SampleNumber(), CSMDIExtendedSampleHeader().MaxMessageSize());
}

void CSMDIExtendedReceiver::HeaderToInfo(const CSMDISampleHeader& header, SampleInfo& info) const
{
    CSMDIExtendedSampleHeader(header).ToSampleInfo(info);
}

} // namespace quorvel
