#pragma once
// Sample data to and from an S-760: the words go as a sample dump at the
// sample's number, the name, rate and loops as its parameter block.
#include <optional>

#include "samplers/sds/SDSReceiver.h"
#include "samplers/sds/SDSTransmitter.h"

namespace quorvel {

class CABCS760Interface;

class CS760MIDITransmitter : public CSDSTransmitter {
public:
    enum class ESide { Mono, Left, Right };

    CS760MIDITransmitter(CABCS760Interface& sampler, ESide side = ESide::Mono);
    ~CS760MIDITransmitter() override;

    // Takes the first free number; XS760SampleNameAlreadyExists when the
    // name (for a stereo half, its marked names) is listed already.
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    // After the last handshake the sample's block is read, given the name,
    // rate and loops, and written back; XS760SampleLostInSpace when the
    // sampler holds no memory for it.
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;

private:
    void CompleteParameters();

    CABCS760Interface& sampler_;
    ESide side_;
    SampleInfo info_;
    std::string name_;
};

class CS760MIDIReceiver : public CSDSReceiver {
public:
    CS760MIDIReceiver(CABCS760Interface& sampler, uint16_t sampleNumber);
    ~CS760MIDIReceiver() override;

    // The block first (name, rate, loops, key), then the dump.
    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;

private:
    CABCS760Interface& sampler_;
    uint16_t sampleNumber_;
};

} // namespace quorvel
