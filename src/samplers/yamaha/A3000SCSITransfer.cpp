#include "samplers/yamaha/A3000SCSITransfer.h"

#include "samplers/yamaha/A3000Exceptions.h"

namespace quorvel {

using namespace a3000;

namespace {

// The sampler's refusals on the SCSI side, as this brand reports them.
template <typename Step>
void Refusing(Step step)
{
    try {
        step();
    } catch (const XSMDISCSICommunicationException&) {
        throw XA3000SCSIRejected();
    } catch (const XSMDIRejected&) {
        throw XA3000SCSIRejected();
    }
}

} // namespace

CA3000SampleTransmitterSCSI::CA3000SampleTransmitterSCSI(CABCA3000Interface& sampler, const SCSIDevice& device,
                                                         int32_t sampleNumber, EHalf half)
    : CSMDITransmitter(device, sampleNumber), sampler_(sampler), half_(half)
{
}

CA3000SampleTransmitterSCSI::~CA3000SampleTransmitterSCSI() { StopQuietly(); }

void CA3000SampleTransmitterSCSI::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument)
{
    SampleInfo named = info;
    named.SetName(HalfName(info.Name(), half_));
    name_ = std::string(named.Name());
    if (sampler_.ObjectList(true).Contains(kSampleObject, name_))
        throw XA3000SampleNameNotUnique();
    named.channelCount = 1;
    Refusing([&] { CSMDITransmitter::BeginTransmission(named, wordsPerFrame, argument); });
}

void CA3000SampleTransmitterSCSI::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    Refusing([&] { CSMDITransmitter::TransmitChunk(frames, samples); });
    if (IsActive())
        return;
    sampler_.Forget();
    const int32_t number = sampler_.SampleNumber(name_);
    if (number < 0)
        throw XSampleDoesNotExist();
    SetResultSampleNumber(number);
}

CA3000SampleReceiverSCSI::CA3000SampleReceiverSCSI(const SCSIDevice& device, int32_t sampleNumber)
    : CSMDIReceiver(device, sampleNumber)
{
}

CA3000SampleReceiverSCSI::~CA3000SampleReceiverSCSI() { StopQuietly(); }

void CA3000SampleReceiverSCSI::BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame)
{
    Refusing([&] { CSMDIReceiver::BeginReception(info, argument, wordsPerFrame); });
}

SSampleWords CA3000SampleReceiverSCSI::ReceiveChunk(uint32_t frames)
{
    SSampleWords words;
    Refusing([&] { words = CSMDIReceiver::ReceiveChunk(frames); });
    return words;
}

CA3000MIDIAndSCSIInterface::CA3000MIDIAndSCSIInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device,
                                                       const SCSIDevice& scsi)
    : CABCA3000Interface(output, input, device), scsi_(scsi)
{
}

void CA3000MIDIAndSCSIInterface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    SampleName(sampleNumber); // XSampleDoesNotExist first
    Refusing([&] { CSMDI(scsi_).GetSampleHeader(static_cast<uint32_t>(sampleNumber)).ToSampleInfo(info); });
}

std::unique_ptr<CABCSampleReceiver> CA3000MIDIAndSCSIInterface::CreateReceiver(int32_t sampleNumber)
{
    SampleName(sampleNumber); // XSampleDoesNotExist first
    return std::make_unique<CA3000SampleReceiverSCSI>(scsi_, sampleNumber);
}

void CA3000MIDIAndSCSIInterface::DeleteSample(int32_t sampleNumber)
{
    // Deleting the wrong sample cannot be undone: the list is read afresh.
    ObjectList(true);
    SampleName(sampleNumber);
    Refusing([&] { CSMDI(scsi_).DeleteSample(static_cast<uint32_t>(sampleNumber)); });
    Forget();
}

std::unique_ptr<CABCSampleTransmitter> CA3000MIDIAndSCSIInterface::MakeTransmitter(EHalf half)
{
    const auto next = static_cast<int32_t>(ObjectList(true).NamesOf(kSampleObject).size());
    return std::make_unique<CA3000SampleTransmitterSCSI>(*this, scsi_, next, half);
}

} // namespace quorvel
