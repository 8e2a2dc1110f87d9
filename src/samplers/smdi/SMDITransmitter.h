#pragma once
// Sends one sample over SMDI: the Sample Header, the sampler's Begin Sample
// Transfer Acknowledge with the packet length it takes, Begin Sample
// Transfer, then one Data Packet per Send Next Packet the sampler asks for,
// and the answer that ends the procedure.
#include <cstdint>
#include <vector>

#include "samplers/SampleTransmitter.h"
#include "samplers/smdi/SMDI.h"

namespace quorvel {

class CSMDITransmitter : public CABCSampleTransmitter {
public:
    // The sample goes to `sampleNumber`, which is also the result.
    CSMDITransmitter(const SCSIDevice& device, int32_t sampleNumber);
    ~CSMDITransmitter() override;

    // XSMDIHeaderRejected when the sampler refuses the header,
    // XSMDIUnsupportedPacketLength when its packet length holds no whole
    // frame; XSMDIUnexpectedMessage, before anything is sent, for 0 or more
    // than 32 bits or no channels.
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    // `samples`: `frames` frames, channels interleaved, in the words
    // BeginTransmission named (8-bit words in the high byte of 16-bit ones).
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;
    // Abort Procedure; the answer is read but its failures do not matter.
    void AbortTransmission() override;
    // Builds the Sample Header for `info` and sends it.
    virtual void SendSampleHeader(const SampleInfo& info);

    uint32_t Bits() const { return bits_; }
    uint32_t Channels() const { return channels_; }

protected:
    CSMDI& Connection() { return smdi_; }
    uint32_t SampleNumber() const { return sampleNumber_; }

private:
    void AwaitPacketRequest();
    void Close();

    CSMDI smdi_;
    uint32_t sampleNumber_;
    uint32_t bits_ = 16;
    uint32_t channels_ = 1;
    uint32_t nextPacket_ = 0;
    std::vector<uint8_t> packet_;
};

} // namespace quorvel
