#include "samplers/sds/SDSSamplerInterface.h"

#include <cstring>

#include "samplers/sds/SDSAwait.h"
#include "samplers/sds/SDSExceptions.h"
#include "samplers/sds/SDSMessages.h"
#include "samplers/sds/SDSReceiver.h"
#include "samplers/sds/SDSTransmitter.h"

namespace quorvel {

using namespace sds;

CSDSSamplerInterface::CSDSSamplerInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel,
                                           uint32_t replyTimeoutMs)
    : connection_(input, output, kUniversalNonRealTime, channel), replyTimeoutMs_(replyTimeoutMs)
{
}

uint16_t CSDSSamplerInterface::CheckedNumber(int32_t sampleNumber)
{
    if (sampleNumber < 0 || sampleNumber > kHighestSampleNumber)
        throw XSDSSampleNumberOutOfRange();
    return static_cast<uint16_t>(sampleNumber);
}

void CSDSSamplerInterface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    const uint16_t number = CheckedNumber(sampleNumber);
    connection_.SendFlushed(BuildRequest(Channel(), number));
    const std::unique_ptr<CRawSysex> message = AwaitMessage(connection_, replyTimeoutMs_);
    if (!IsHeader(*message))
        throw XSDSUnexpectedSysex();
    const SDumpHeader header = ParseHeader(*message);
    // The header is all that is wanted: the sampler stops before the first packet.
    connection_.Send(BuildHandshake(Channel(), kCancel, 0));
    info = InfoFromHeader(header);
}

std::unique_ptr<CABCSampleReceiver> CSDSSamplerInterface::CreateReceiver(int32_t sampleNumber)
{
    return std::make_unique<CSDSReceiver>(connection_, CheckedNumber(sampleNumber), replyTimeoutMs_);
}

std::unique_ptr<CABCSampleTransmitter> CSDSSamplerInterface::CreateTransmitter(int32_t sampleNumber)
{
    return std::make_unique<CSDSTransmitter>(connection_, CheckedNumber(sampleNumber), replyTimeoutMs_);
}

void CSDSSamplerInterface::DeleteSample(int32_t) { throw XSDSNotInStandard(); }

void CSDSSamplerInterface::AdaptSampleInfo(SampleInfo& info)
{
    // What the sampler gives back is what the header carried. The length
    // stays as asked: a sample too long for a header is refused by the
    // transmitter rather than cut here.
    info = InfoFromHeader(HeaderFromInfo(info, 0));
}

void CSDSSamplerInterface::GetCapabilities(SamplerCapabilities& capabilities)
{
    capabilities = SamplerCapabilities{};
    std::strncpy(capabilities.protocolName, kProtocolName, SamplerCapabilities::kProtocolNameCapacity - 1);
    capabilities.lowestSampleNumber = 0;
    capabilities.highestSampleNumber = kHighestSampleNumber;
}

void CSDSSamplerInterface::FillSampleList(int32_t, CSampleList&, uint32_t) {}

} // namespace quorvel
