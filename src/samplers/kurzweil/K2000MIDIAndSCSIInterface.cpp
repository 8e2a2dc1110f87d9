#include "samplers/kurzweil/K2000MIDIAndSCSIInterface.h"

#include "samplers/kurzweil/K2000MIDIInterface.h"
#include "samplers/kurzweil/K2000SoundBlock.h"

namespace quorvel {

CK2000MIDIAndSCSITransmitter::CK2000MIDIAndSCSITransmitter(const SCSIDevice& device,
                                                           CABCKurzweilObjectProtocol& objects, uint16_t id)
    : CSMDITransmitter(device, id - 1), reservation_(objects, id)
{
    SetResultSampleNumber(id);
}

CK2000MIDIAndSCSITransmitter::~CK2000MIDIAndSCSITransmitter() { StopQuietly(); }

void CK2000MIDIAndSCSITransmitter::NameWhenDone()
{
    if (!IsActive() && FramesDone() >= FramesTotal() && !reservation_.Completed())
        reservation_.Complete(name_);
}

void CK2000MIDIAndSCSITransmitter::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame,
                                                     int32_t argument)
{
    name_ = std::string(info.Name());
    CSMDITransmitter::BeginTransmission(WithLoopEndAsLastFrame(info), wordsPerFrame, argument);
    NameWhenDone();
}

void CK2000MIDIAndSCSITransmitter::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    CSMDITransmitter::TransmitChunk(frames, samples);
    NameWhenDone();
}

CK2000MIDIAndSCSIReceiver::CK2000MIDIAndSCSIReceiver(const SCSIDevice& device, CABCKurzweilObjectProtocol& objects,
                                                     uint16_t id)
    : CSMDIReceiver(device, id - 1), objects_(objects), id_(id)
{
}

CK2000MIDIAndSCSIReceiver::~CK2000MIDIAndSCSIReceiver() { StopQuietly(); }

void CK2000MIDIAndSCSIReceiver::BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame)
{
    CK2000SoundBlock block(id_);
    objects_.Read(block, CABCKurzweilObjectProtocol::kObjectTimeoutMs);
    CSMDIReceiver::BeginReception(info, argument, wordsPerFrame);
    TakeSoundBlockParameters(block.ToSampleInfo(), info);
}

CK2000MIDIAndSCSIInterface::CK2000MIDIAndSCSIInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device,
                                                       const SCSIDevice& target)
    : CABCK2000Interface(output, input, device), target_(target)
{
}

std::unique_ptr<CABCSampleTransmitter> CK2000MIDIAndSCSIInterface::MakeTransmitter(uint16_t id)
{
    return std::make_unique<CK2000MIDIAndSCSITransmitter>(target_, Objects(), id);
}

std::unique_ptr<CABCSampleReceiver> CK2000MIDIAndSCSIInterface::MakeReceiver(uint16_t id)
{
    return std::make_unique<CK2000MIDIAndSCSIReceiver>(target_, Objects(), id);
}

} // namespace quorvel
