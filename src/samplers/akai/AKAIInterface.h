#pragma once
// An AKAI S1000/S3000 family sampler, over whichever transport reaches it:
// its name lists, headers, deletions and sample transfers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "samplers/SamplerInterface.h"
#include "samplers/akai/AKAICom.h"
#include "samplers/akai/AKAIProgram.h"
#include "samplers/akai/AKAISampleHeader.h"

namespace quorvel {

class CABCAKAIInterface : public CABCSamplerInterface {
public:
    CABCAKAIInterface(std::unique_ptr<CABCAKAICom> com, akai::EGeneration generation);

    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    // The sampler numbers new samples itself: both give the same transmitter
    // (none where the transport cannot carry sample words).
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleTransmitter> CreateMonoTransmitter(int32_t location) override;
    void DeleteSample(int32_t sampleNumber) override;
    // 12 characters of the AKAI set, mono, 16 bits, 44100 Hz above 22050 Hz
    // and 22050 Hz otherwise.
    void AdaptSampleInfo(SampleInfo& info) override;
    void GetCapabilities(SamplerCapabilities& capabilities) override;
    // Every resident sample, numbered by its place in the sampler's list.
    void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) override;

    // The AKAI operations.
    std::vector<std::string> SampleNames();
    std::vector<std::string> ProgramNames();
    std::unique_ptr<akai::CABCAKAISampleHeader> GetSampleHeader(uint16_t sampleNumber);
    std::unique_ptr<akai::CABCAKAIProgramHeader> GetProgramHeader(uint16_t programNumber);
    std::unique_ptr<akai::CABCAKAIKeyGroup> GetKeyGroup(uint16_t programNumber, uint8_t keyGroup);
    // A program with all its keygroups.
    std::unique_ptr<akai::CAKAIProgram> GetProgram(uint16_t programNumber);
    void DeleteProgram(uint16_t programNumber);

    akai::EGeneration Generation() const { return generation_; }
    CABCAKAICom& Com() { return *com_; }

private:
    akai::SAKAITransferContext Context();
    // The answer to `request`; XAKAIReceivedError when the sampler answers
    // with an error reply instead.
    std::unique_ptr<CRawSysex> Ask(const CRawSysex& request);
    std::vector<std::string> Names(uint8_t request, uint8_t answer);

    akai::EGeneration generation_;
    std::unique_ptr<CABCAKAICom> com_;
};

} // namespace quorvel
