#pragma once
// A Roland S-760: its file lists, sample parameter blocks, deletions and the
// objects that move sample data. The sampler numbers its samples 0 to 511;
// a new sample takes the first number its file list leaves free.
#include <cstdint>
#include <memory>
#include <optional>

#include "samplers/SamplerInterface.h"
#include "samplers/roland/RolandCom.h"
#include "samplers/roland/S760FileList.h"
#include "samplers/roland/S760Layouts.h"

namespace quorvel {

class CABCS760Interface : public CABCSamplerInterface {
public:
    static constexpr const char* kProtocolName = "Roland S-760";

    CABCS760Interface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t device);

    // The block's name, rate, length and loops. XSampleDoesNotExist for a
    // number the sample list does not hold.
    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    // Clears the sample's block (its name becomes the sampler's unused mark)
    // and drops it from the list.
    void DeleteSample(int32_t sampleNumber) override;
    // 16 characters of printable ASCII, mono, 16 bits, a rate of the
    // sampler's table.
    void AdaptSampleInfo(SampleInfo& info) override;
    void GetCapabilities(SamplerCapabilities& capabilities) override;
    // Every sample of the file list, by its number.
    void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) override;
    // Joins the "L" and "R" halves of stereo samples.
    void FinishSampleList(CSampleList& list) override;

    // The sample list, read when the cached one is not valid.
    CS760FileList& Samples();
    void InvalidateSamples() { samplesValid_ = false; }
    // A fresh list of another category (patches, partials).
    CS760FileList ReadFileList(uint8_t category);
    // The first number no sample uses: XS760AllSamplesUsedUp when none is free.
    uint16_t FreeSampleNumber();
    // The number of the right half paired with the left half `leftNumber`.
    std::optional<uint16_t> RightHalfOf(uint16_t leftNumber);

    s760::SS760SampleParameters ReadSampleParameters(uint16_t sampleNumber);
    void WriteSampleParameters(uint16_t sampleNumber, const s760::SS760SampleParameters& parameters);

    // Writes 0 and 1 minus `flag` one-way to the access address and returns
    // the two bytes the sampler sends back from there.
    std::array<uint8_t, 2> ExchangeAccess(bool flag);

    roland::CRolandCom& Com() { return com_; }

private:
    roland::CRolandCom com_;
    CS760FileList samples_;
    bool samplesValid_ = false;
};

class CS760MIDIInterface : public CABCS760Interface {
public:
    // On open ports (not owned), the sampler's device byte `device`.
    CS760MIDIInterface(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t device);

    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    // Left or right half of a stereo sample; the mix receives the left.
    std::unique_ptr<CABCSampleReceiver> CreateReceiverFor(int32_t sampleNumber, int32_t mode) override;
    // The sampler picks the number: all of them give a new sample.
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleTransmitter> CreateMonoTransmitter(int32_t location) override;
    std::unique_ptr<CABCSampleTransmitter> CreateStereoLeftTransmitter(int32_t location) override;
    std::unique_ptr<CABCSampleTransmitter> CreateStereoRightTransmitter(int32_t location) override;
};

} // namespace quorvel
