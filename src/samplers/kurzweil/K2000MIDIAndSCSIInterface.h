#pragma once
// A K2000 with MIDI for its objects and SCSI for the sample data: the data
// travels by SMDI to and from sample number id - 1 on the sampler's target.
#include <cstdint>
#include <memory>
#include <string>

#include "devices/scsi/SCSIBus.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/K2000SoundBlockReservation.h"
#include "samplers/smdi/SMDIReceiver.h"
#include "samplers/smdi/SMDITransmitter.h"

namespace quorvel {

class CK2000MIDIAndSCSITransmitter : public CSMDITransmitter {
public:
    CK2000MIDIAndSCSITransmitter(const SCSIDevice& device, CABCKurzweilObjectProtocol& objects, uint16_t id);
    ~CK2000MIDIAndSCSITransmitter() override;

    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;

private:
    void NameWhenDone();

    CK2000SoundBlockReservation reservation_;
    std::string name_;
};

class CK2000MIDIAndSCSIReceiver : public CSMDIReceiver {
public:
    CK2000MIDIAndSCSIReceiver(const SCSIDevice& device, CABCKurzweilObjectProtocol& objects, uint16_t id);
    ~CK2000MIDIAndSCSIReceiver() override;

    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;

private:
    CABCKurzweilObjectProtocol& objects_;
    uint16_t id_;
};

class CK2000MIDIAndSCSIInterface : public CABCK2000Interface {
public:
    CK2000MIDIAndSCSIInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device,
                               const SCSIDevice& target);

    const SCSIDevice& Target() const { return target_; }

protected:
    std::unique_ptr<CABCSampleTransmitter> MakeTransmitter(uint16_t id) override;
    std::unique_ptr<CABCSampleReceiver> MakeReceiver(uint16_t id) override;

private:
    SCSIDevice target_;
};

} // namespace quorvel
