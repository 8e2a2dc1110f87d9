#pragma once
// An A3000 with the MIDI and SCSI interface: the object list and the bank
// go over MIDI, the sample words over SCSI as SMDI sample transfers, the
// sample numbers being the places in the object list. A refusal or abort
// by the sampler on the SCSI side becomes XA3000SCSIRejected.
#include <memory>
#include <string>

#include "devices/scsi/SCSIBus.h"
#include "samplers/smdi/SMDIReceiver.h"
#include "samplers/smdi/SMDITransmitter.h"
#include "samplers/yamaha/A3000Interface.h"

namespace quorvel {

class CA3000SampleTransmitterSCSI final : public CSMDITransmitter {
public:
    // The sample goes after the last one, as `sampleNumber`.
    CA3000SampleTransmitterSCSI(CABCA3000Interface& sampler, const SCSIDevice& device, int32_t sampleNumber,
                                a3000::EHalf half);
    ~CA3000SampleTransmitterSCSI() override;

    // XA3000SampleNameNotUnique before anything is sent.
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    // After the last packet the sample is looked up by name.
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;

private:
    CABCA3000Interface& sampler_;
    a3000::EHalf half_;
    std::string name_;
};

class CA3000SampleReceiverSCSI final : public CSMDIReceiver {
public:
    CA3000SampleReceiverSCSI(const SCSIDevice& device, int32_t sampleNumber);
    ~CA3000SampleReceiverSCSI() override;

    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;
    SSampleWords ReceiveChunk(uint32_t frames) override;
};

class CA3000MIDIAndSCSIInterface : public CABCA3000Interface {
public:
    CA3000MIDIAndSCSIInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device,
                               const SCSIDevice& scsi);

    // The sample's SMDI Sample Header.
    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    // SMDI's Delete Sample.
    void DeleteSample(int32_t sampleNumber) override;

protected:
    std::unique_ptr<CABCSampleTransmitter> MakeTransmitter(a3000::EHalf half) override;

private:
    SCSIDevice scsi_;
};

} // namespace quorvel
