#pragma once
// A Kurzweil K2000 or K2500: every sample is a sound block, an object of the
// sampler's object system. The interface owns the system-exclusive connection
// and the object protocol over it; its sample numbers are sound-block ids.
// The sample data travels by a path the derived classes choose (the MIDI
// sample dump, or SMDI over SCSI), always as sample number id - 1.
#include <cstdint>
#include <memory>

#include "devices/midi/SysexConnection.h"
#include "samplers/SamplerInterface.h"
#include "samplers/kurzweil/KurzweilSysexObjectProtocol.h"

namespace quorvel {

class CMIDIOutput;
class CSysexMIDIInput;

class CABCK2000Interface : public CABCSamplerInterface {
public:
    static constexpr int32_t kLowestId = 1;
    static constexpr int32_t kHighestId = 999;
    static constexpr size_t kNameLength = 16;
    static constexpr uint8_t kBanks = 10;
    static constexpr uint8_t kRAMOnly = 1;

    // On open ports (not owned), talking to the sampler's device byte `device`.
    CABCK2000Interface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device);

    CABCKurzweilObjectProtocol& Objects() { return objects_; }

    // The first sound header of the block: XKurzweilObjectNotFound (or the
    // sampler's other refusal) when it cannot be read.
    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    // Reserves a sound block from `location` x 100 on (an empty block the
    // sampler numbers), then the transmitter that fills and names it.
    std::unique_ptr<CABCSampleTransmitter> CreateMonoTransmitter(int32_t location) override;
    void DeleteSample(int32_t sampleNumber) override;
    // 16 seven-bit characters, mono, 16 bits, the rate a period between 400
    // and 95996 Hz gives back, root key 60 (the dump does not carry one), no
    // release loop or tuning.
    void AdaptSampleInfo(SampleInfo& info) override;
    void GetCapabilities(SamplerCapabilities& capabilities) override;
    // The sound blocks in RAM, bank by bank, numbered by their ids.
    void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) override;

    uint8_t Device() const { return connection_.GetDeviceID(); }

protected:
    virtual std::unique_ptr<CABCSampleTransmitter> MakeTransmitter(uint16_t id) = 0;
    virtual std::unique_ptr<CABCSampleReceiver> MakeReceiver(uint16_t id) = 0;
    virtual const char* ProtocolName() const { return "Kurzweil K2000"; }
    const CSysexConnection& Connection() const { return connection_; }

private:
    CSysexConnection connection_;
    CKurzweilObjectProtocol objects_;
};

// XSampleDoesNotExist outside the ids sound blocks take.
uint16_t CheckedSoundBlockId(int32_t sampleNumber);

} // namespace quorvel
