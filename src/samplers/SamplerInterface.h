#pragma once
// The one object through which the program talks to a hardware sampler: it
// answers questions about the sampler and creates the transmitters and
// receivers that move sample data. Each brand derives from it and keeps its
// own connection (MIDI, SCSI or both).
#include <cstdint>
#include <memory>

#include "samplers/SampleInfo.h"
#include "samplers/SampleList.h"
#include "samplers/SampleReceiver.h"
#include "samplers/SampleTransmitter.h"
#include "samplers/SamplerCapabilities.h"
#include "samplers/SamplerLocationList.h"

namespace quorvel {

class CABCSamplerInterface {
public:
    CABCSamplerInterface() = default;
    CABCSamplerInterface(const CABCSamplerInterface&) = delete;
    CABCSamplerInterface& operator=(const CABCSamplerInterface&) = delete;

    // One location, id 0, "Global", unless the brand has more.
    virtual std::unique_ptr<CSamplerLocationList> GetLocations();
    virtual void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) = 0;
    virtual std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) = 0;
    // The factories below answer null when the sampler cannot do that kind
    // of transfer; the dialogs then do not offer it.
    virtual std::unique_ptr<CABCSampleReceiver> CreateReceiverFor(int32_t sampleNumber, int32_t mode);
    virtual std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t sampleNumber);
    virtual std::unique_ptr<CABCSampleTransmitter> CreateMonoTransmitter(int32_t location);
    virtual std::unique_ptr<CABCSampleTransmitter> CreateTransmitterFor(int32_t location, int32_t mode);
    virtual std::unique_ptr<CABCSampleTransmitter> CreateStereoLeftTransmitter(int32_t location);
    virtual std::unique_ptr<CABCSampleTransmitter> CreateStereoRightTransmitter(int32_t location);
    virtual void DeleteSample(int32_t sampleNumber) = 0;
    // Changes `info` to what the sampler can hold.
    virtual void AdaptSampleInfo(SampleInfo& info) = 0;
    virtual void GetCapabilities(SamplerCapabilities& capabilities) = 0;
    // True when the sampler takes `info` unchanged: adapting a copy changes nothing.
    virtual bool IsSampleInfoExact(const SampleInfo& info);
    virtual ~CABCSamplerInterface() = default;
    // Adds the sampler's samples at `location` to `list`.
    virtual void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) = 0;
    // Brand work on a filled list, such as pairing stereo halves.
    virtual void FinishSampleList(CSampleList& list);

    // A new list filled and finished; nothing is returned when either step fails.
    std::unique_ptr<CSampleList> GetSampleList(int32_t location, uint32_t flags);
};

} // namespace quorvel
