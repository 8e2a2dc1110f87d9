#pragma once
// Sample words over MIDI as a wave-data dump: the 73-byte parameter block,
// then four nibbles per 16-bit word, in blocks of at most 4096 bytes. Both
// directions stream the one long message block by block.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "samplers/SampleReceiver.h"
#include "samplers/SampleTransmitter.h"
#include "samplers/yamaha/A3000Layouts.h"

namespace quorvel {

class CABCA3000Interface;
class CA3000DumpWriter;

class CA3000SampleTransmitterMIDI final : public CABCSampleTransmitter {
public:
    CA3000SampleTransmitterMIDI(CABCA3000Interface& sampler, a3000::EHalf half);
    ~CA3000SampleTransmitterMIDI() override;

    // XA3000SampleNameNotUnique, before anything is sent, when a sample of
    // the name (or of the half's name) is on the sampler.
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    // With the last words the dump is closed, the parameters follow as a
    // sample-parameter dump, and the sample is looked up by name:
    // XSampleDoesNotExist when the sampler did not keep it.
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;
    // Ends the message with a block cut short, which makes the sampler drop it.
    void AbortTransmission() override;

    const std::string& Name() const { return name_; }

private:
    CABCA3000Interface& sampler_;
    a3000::EHalf half_;
    std::string name_;
    std::unique_ptr<CA3000DumpWriter> writer_;
    std::vector<uint8_t> parameters_;
    std::vector<uint8_t> bytes_;
};

class CA3000SampleReceiverMIDI final : public CABCSampleReceiver {
public:
    CA3000SampleReceiverMIDI(CABCA3000Interface& sampler, std::string name);
    ~CA3000SampleReceiverMIDI() override;

    // Requests the dump and reads its header and parameter block: every
    // check fails with XA3000ReceivedInvalidSysex, a checksum with
    // XA3000ChecksumIncorrect; a read waits at most 2000 ms.
    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;
    SSampleWords ReceiveChunk(uint32_t frames) override;
    // Lets the rest of the dump go by, then finishes.
    void AbortReception() override;

private:
    void Read(size_t count, uint8_t* destination);
    void CloseBlock();
    void OpenBlock();
    void End();

    CABCA3000Interface& sampler_;
    std::string name_;
    uint32_t remaining_ = 0; // wire bytes left in the open block
    uint8_t xor_ = 0;
    std::vector<uint8_t> wire_;
    std::vector<int16_t> words_;
    // Bytes taken out of the input and not yet read.
    std::vector<uint8_t> held_;
    size_t taken_ = 0;
};

} // namespace quorvel
