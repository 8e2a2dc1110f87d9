#pragma once
// Sample data to and from an AKAI sampler over MIDI: the AKAI sample header
// goes as an AKAI message, the words go as a sample dump (16-bit, 40 words
// per packet). A received sample is asked for with the AKAI packet request,
// which the sampler answers with a sample dump.
#include <string>

#include "samplers/akai/AKAICom.h"
#include "samplers/sds/SDSReceiver.h"
#include "samplers/sds/SDSTransmitter.h"

namespace quorvel {

class CAKAISampleTransmitterMIDI final : public CSDSTransmitter {
public:
    CAKAISampleTransmitterMIDI(const akai::SAKAITransferContext& context, CSysexConnection& connection);
    ~CAKAISampleTransmitterMIDI() override;

    // XAKAINameIsNotUnique when a sample of the name (as the sampler keeps
    // it) exists; otherwise the header for a new sample after the last one,
    // then the dump header.
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    // After the last handshake the sample's number is looked up by its name:
    // XAKAITransmittedSampleLost when it is not there.
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;
    // The dump's abort, then a pause of 500 ms.
    void AbortTransmission() override;

private:
    akai::SAKAITransferContext context_;
    std::string name_;
};

class CAKAISampleReceiverMIDI final : public CSDSReceiver {
public:
    CAKAISampleReceiverMIDI(const akai::SAKAITransferContext& context, CSysexConnection& connection,
                            uint16_t sampleNumber);
    ~CAKAISampleReceiverMIDI() override;

    // The AKAI header first (name, loops, key and tuning), then the dump.
    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;

protected:
    void RequestDump() override;

private:
    akai::SAKAITransferContext context_;
    uint16_t sampleNumber_;
    uint32_t words_ = 0;
};

} // namespace quorvel
