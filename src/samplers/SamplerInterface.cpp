#include "samplers/SamplerInterface.h"

namespace quorvel {

std::unique_ptr<CSamplerLocationList> CABCSamplerInterface::GetLocations()
{
    auto list = std::make_unique<CSamplerLocationList>();
    list->Add({0, "Global", 0});
    return list;
}

std::unique_ptr<CABCSampleReceiver> CABCSamplerInterface::CreateReceiverFor(int32_t, int32_t) { return nullptr; }
std::unique_ptr<CABCSampleTransmitter> CABCSamplerInterface::CreateTransmitter(int32_t) { return nullptr; }
std::unique_ptr<CABCSampleTransmitter> CABCSamplerInterface::CreateMonoTransmitter(int32_t) { return nullptr; }
std::unique_ptr<CABCSampleTransmitter> CABCSamplerInterface::CreateTransmitterFor(int32_t, int32_t)
{
    return nullptr;
}
std::unique_ptr<CABCSampleTransmitter> CABCSamplerInterface::CreateStereoLeftTransmitter(int32_t) { return nullptr; }
std::unique_ptr<CABCSampleTransmitter> CABCSamplerInterface::CreateStereoRightTransmitter(int32_t) { return nullptr; }

bool CABCSamplerInterface::IsSampleInfoExact(const SampleInfo& info)
{
    SampleInfo adapted = info;
    AdaptSampleInfo(adapted);
    return adapted == info;
}

void CABCSamplerInterface::FinishSampleList(CSampleList&) {}

std::unique_ptr<CSampleList> CABCSamplerInterface::GetSampleList(int32_t location, uint32_t flags)
{
    auto list = std::make_unique<CSampleList>();
    FillSampleList(location, *list, flags);
    FinishSampleList(*list);
    return list;
}

} // namespace quorvel
