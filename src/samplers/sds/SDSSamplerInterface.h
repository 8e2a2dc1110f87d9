#pragma once
// A sampler that speaks nothing but the MIDI sample dump: it takes a sample
// at a number the user chooses and dumps one back when asked for it by
// number. The dump has no directory, no names, no deletion and no stereo, so
// this interface offers none of them.
#include <cstdint>

#include "devices/midi/SysexConnection.h"
#include "samplers/SamplerInterface.h"

namespace quorvel {

class CMIDIOutput;
class CSysexMIDIInput;

class CSDSSamplerInterface : public CABCSamplerInterface {
public:
    static constexpr uint32_t kReplyTimeoutMs = 5000;
    static constexpr int32_t kHighestSampleNumber = 0x3FFF; // 14 bits on the wire
    static constexpr const char* kProtocolName = "MIDI Sample Dump Standard";

    // On open ports (not owned), talking to device number `channel`.
    CSDSSamplerInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel,
                         uint32_t replyTimeoutMs = kReplyTimeoutMs);

    // Asks for the dump, reads its header and cancels the rest.
    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    // A mono sample stored at `sampleNumber`, which is also the result.
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t sampleNumber) override;
    // XSDSNotInStandard: the dump cannot delete.
    void DeleteSample(int32_t sampleNumber) override;
    // What a dump header can carry: mono, 8 to 28 bits, the rate its period
    // in nanoseconds gives back, the sustain loop, no name and no key data.
    void AdaptSampleInfo(SampleInfo& info) override;
    void GetCapabilities(SamplerCapabilities& capabilities) override;
    // Adds nothing: the dump cannot tell which numbers hold a sample.
    void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) override;

    uint8_t Channel() const { return connection_.GetDeviceID(); }

private:
    // XSDSSampleNumberOutOfRange outside 0 to 16383.
    static uint16_t CheckedNumber(int32_t sampleNumber);

    CSysexConnection connection_;
    uint32_t replyTimeoutMs_;
};

} // namespace quorvel
