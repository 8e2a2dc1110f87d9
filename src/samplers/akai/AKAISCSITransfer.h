#pragma once
// Sample words to and from an AKAI sampler over SCSI. The AKAI sample
// header goes as a message; the words go in packets, each announced by the
// AKAI accept-packets message (going out) or asked for with the packet
// request (coming in) and carried as raw bytes in the vendor commands: two
// bytes per word, most significant first, in straight binary (0 the most
// negative level, FFFF the most positive).
#include <cstdint>
#include <string>
#include <vector>

#include "samplers/SampleReceiver.h"
#include "samplers/SampleTransmitter.h"
#include "samplers/akai/AKAICom.h"

namespace quorvel {

class CAKAISCSICom;

namespace akai {
// Signed words to the straight binary bytes that travel, and back.
void EncodeSCSIWords(const int16_t* words, uint32_t count, uint8_t* bytes);
void DecodeSCSIWords(const uint8_t* bytes, uint32_t count, int16_t* words);
} // namespace akai

class CAKAISampleTransmitterSCSI final : public CABCSampleTransmitter {
public:
    CAKAISampleTransmitterSCSI(const akai::SAKAITransferContext& context, CAKAISCSICom& com);
    ~CAKAISampleTransmitterSCSI() override;

    // XAKAINameIsNotUnique when a sample of the name (as the sampler keeps
    // it) exists; otherwise the header for a new sample after the last one,
    // which the sampler must answer with OK.
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    // One packet per chunk, each answered with a reply (XAKAIReceivedError
    // when it is an error). After the last one the sample's number is looked
    // up by its name: XAKAITransmittedSampleLost when it is not there.
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;
    // No more packets, then a pause of 500 ms so that the sampler settles.
    void AbortTransmission() override;

private:
    void Complete();

    akai::SAKAITransferContext context_;
    CAKAISCSICom& com_;
    std::string name_;
    uint16_t number_ = 0;
    std::vector<uint8_t> bytes_;
};

class CAKAISampleReceiverSCSI final : public CABCSampleReceiver {
public:
    CAKAISampleReceiverSCSI(const akai::SAKAITransferContext& context, CAKAISCSICom& com, uint16_t sampleNumber);
    ~CAKAISampleReceiverSCSI() override;

    // The AKAI header (name, loops, key, tuning and length); mono 16-bit words.
    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;
    // Asks for the chunk's words and reads them.
    SSampleWords ReceiveChunk(uint32_t frames) override;

private:
    akai::SAKAITransferContext context_;
    CAKAISCSICom& com_;
    uint16_t sampleNumber_;
    std::vector<int16_t> words_;
};

} // namespace quorvel
