#pragma once
// Brings one sample back over SMDI: its Sample Header, Begin Sample Transfer,
// then one Send Next Packet / Data Packet exchange per chunk.
#include <cstdint>
#include <vector>

#include "samplers/SampleReceiver.h"
#include "samplers/smdi/SMDI.h"

namespace quorvel {

class CSMDIReceiver : public CABCSampleReceiver {
public:
    static constexpr uint32_t kMinFramesPerPacket = 16;
    static constexpr uint32_t kMaxFramesPerPacket = 65536;

    CSMDIReceiver(const SCSIDevice& device, int32_t sampleNumber);
    ~CSMDIReceiver() override;

    // `argument`: the frames wanted per packet (held to 16..65536); the
    // sampler may accept another packet length. XSMDIUnsupportedPacketLength
    // when that length does not hold whole frames; XSMDIUnexpectedMessage
    // for a header of 0 or more than 32 bits or no channels.
    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;
    // `frames` frames, channels interleaved: 16-bit words up to 16 bits (8-bit
    // words in the high byte), 32-bit left-justified words above.
    SSampleWords ReceiveChunk(uint32_t frames) override;
    // Abort Procedure; the answer is read but its failures do not matter.
    void AbortReception() override;

    uint32_t Bits() const { return bits_; }
    uint32_t Channels() const { return channels_; }

protected:
    // The header as this receiver understands it.
    virtual CSMDISampleHeader ReadHeader();
    virtual void HeaderToInfo(const CSMDISampleHeader& header, SampleInfo& info) const;
    CSMDI& Connection() { return smdi_; }
    uint32_t SampleNumber() const { return sampleNumber_; }

private:
    CSMDI smdi_;
    uint32_t sampleNumber_;
    uint32_t bits_ = 16;
    uint32_t channels_ = 1;
    uint32_t nextPacket_ = 0;
    std::vector<int16_t> narrow_;
    std::vector<int32_t> wide_;
};

} // namespace quorvel
