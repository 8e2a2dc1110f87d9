#pragma once
// A Yamaha A3000: its object list (cached, and read again after every
// change), its parameter and bank dumps over MIDI, and the transfers of
// sample words, over MIDI or over SCSI by the derived interfaces. Samples
// are addressed by name; a sample's number is its place among the samples
// of the object list.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "devices/midi/SysexConnection.h"
#include "samplers/SamplerInterface.h"
#include "samplers/yamaha/A3000BulkDump.h"
#include "samplers/yamaha/A3000Layouts.h"

namespace quorvel {

namespace a3000 {
// How long the sampler has to answer a request, and each read of a dump.
constexpr uint32_t kReplyTimeoutMs = 2000;
constexpr uint32_t kChunkFrames = 1024;
constexpr int32_t kHighestSampleNumber = 9999;
} // namespace a3000

class CABCA3000Interface : public CABCSamplerInterface {
public:
    // On open ports (not owned); `device` is the sampler's device number.
    CABCA3000Interface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device);

    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    // One channel of the stereo pair whose left half is `sampleNumber`:
    // `mode` 1 the left half, 3 the right one, 2 both mixed.
    // XA3000SampleIsNotStereo when the sample has no right half after it.
    std::unique_ptr<CABCSampleReceiver> CreateReceiverFor(int32_t sampleNumber, int32_t mode) override;
    // The sampler names new samples itself: every factory sends the sample
    // after the last one.
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleTransmitter> CreateMonoTransmitter(int32_t location) override;
    std::unique_ptr<CABCSampleTransmitter> CreateStereoLeftTransmitter(int32_t location) override;
    std::unique_ptr<CABCSampleTransmitter> CreateStereoRightTransmitter(int32_t location) override;
    // A name of at most 16 printable characters, mono, 16 bits, a rate of
    // 1 to 65535 Hz.
    void AdaptSampleInfo(SampleInfo& info) override;
    void GetCapabilities(SamplerCapabilities& capabilities) override;
    // One entry per sample object, numbered by its place among them.
    void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) override;
    // Adjacent halves named "…L" and "…R" become one stereo entry.
    void FinishSampleList(CSampleList& list) override;

    // The object list: the cached one, or read again.
    const CA3000ObjectList& ObjectList(bool refresh = false);
    // The name of sample `number`; XSampleDoesNotExist when there is none.
    std::string SampleName(int32_t number);
    // The number of the sample `name` in a freshly read list, or -1.
    int32_t SampleNumber(const std::string& name);

    // Requests the dump of the object `name` and checks that this one came.
    CA3000StandardBulkDump RequestDump(std::string_view type, std::string_view name);
    void SendDump(std::string_view type, std::string_view name, const std::vector<uint8_t>& payload);
    a3000::CA3000SampleBank GetSampleBank(const std::string& name);
    void SendSampleBank(const a3000::CA3000SampleBank& bank);

    CSysexConnection& Connection() { return connection_; }
    uint8_t Device() const { return device_; }
    // The sample list must be read again (after a deletion elsewhere).
    void Forget() { objects_.reset(); }

protected:
    virtual std::unique_ptr<CABCSampleTransmitter> MakeTransmitter(a3000::EHalf half) = 0;

private:
    CSysexConnection connection_;
    uint8_t device_;
    std::optional<CA3000ObjectList> objects_;
};

// Sample words as wave-data dumps over MIDI.
class CA3000MIDIInterface : public CABCA3000Interface {
public:
    using CABCA3000Interface::CABCA3000Interface;

    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    // XA3000CannotDelete: no dump removes an object.
    void DeleteSample(int32_t sampleNumber) override;

protected:
    std::unique_ptr<CABCSampleTransmitter> MakeTransmitter(a3000::EHalf half) override;
};

} // namespace quorvel
