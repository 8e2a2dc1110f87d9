#pragma once
// Any SMDI sampler: samples by number, with their headers, transfers and
// deletion. SMDI has no directory, so the sample list stays empty.
#include <cstdint>

#include "devices/scsi/SCSIBus.h"
#include "samplers/SamplerInterface.h"

namespace quorvel {

class CSMDISamplerInterface : public CABCSamplerInterface {
public:
    static constexpr const char* kProtocolName = "SMDI";
    static constexpr int32_t kHighestSampleNumber = 0xFFFFFF; // 24 bits on the wire

    explicit CSMDISamplerInterface(const SCSIDevice& device);

    // The sample's header; XSampleDoesNotExist when the sampler rejects the request.
    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t sampleNumber) override;
    void DeleteSample(int32_t sampleNumber) override;
    // What a Sample Header carries, read back as a receiver would read it.
    void AdaptSampleInfo(SampleInfo& info) override;
    void GetCapabilities(SamplerCapabilities& capabilities) override;
    void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) override;

    const SCSIDevice& Device() const { return device_; }

protected:
    // XSampleDoesNotExist outside 0 to 2^24 - 1.
    static uint32_t CheckedNumber(int32_t sampleNumber);

private:
    SCSIDevice device_;
};

} // namespace quorvel
