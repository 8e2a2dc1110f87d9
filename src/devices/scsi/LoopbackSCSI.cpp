#include "devices/scsi/LoopbackSCSI.h"

#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSIExceptions.h"

namespace quorvel {

SCSIResult CheckCondition(uint8_t senseKey, uint8_t additionalCode, uint8_t qualifier)
{
    SCSIResult result;
    result.kind = kSCSICheckCondition;
    result.sense[0] = 0x70; // current error, fixed format
    result.sense[2] = senseKey & 0x0F;
    result.sense[7] = static_cast<uint8_t>(kSCSISenseLength - 8);
    result.sense[12] = additionalCode;
    result.sense[13] = qualifier;
    result.senseLength = static_cast<int32_t>(kSCSISenseLength);
    return result;
}

CLoopbackSCSIBus::CLoopbackSCSIBus()
    : CSCSIBus(kLoopbackSCSIBusName, kLoopbackSCSIDriverName, kLoopbackAdapterId, 0)
{
}

uint8_t CLoopbackSCSIBus::AddTarget(std::shared_ptr<ISCSITarget> target)
{
    if (nextId_ == kLoopbackAdapterId)
        ++nextId_;
    if (nextId_ >= TargetCount())
        throw XSCSI();
    const uint8_t id = nextId_++;
    targets_[id] = std::move(target);
    return id;
}

ISCSITarget* CLoopbackSCSIBus::Target(uint8_t id) const
{
    const auto found = targets_.find(id);
    return found == targets_.end() ? nullptr : found->second.get();
}

void CLoopbackSCSIBus::RemoveTarget(uint8_t id)
{
    targets_.erase(id);
}

SCSIResult CLoopbackSCSIBus::Execute(const SCSIDevice& device, const uint8_t* block, ESCSIDirection direction,
                                     uint8_t* data, size_t length)
{
    ISCSITarget* target = Target(device.target);
    if (!target) {
        SCSIResult result;
        result.kind = kSCSINoDevice;
        return result;
    }
    return target->Command(block, direction, data, length);
}

CLoopbackSCSIBus* LoopbackSCSIBus(CSCSIBusRegistry& registry)
{
    for (size_t i = 0; i < registry.Count(); ++i)
        if (auto* loopback = dynamic_cast<CLoopbackSCSIBus*>(registry.Bus(i)))
            return loopback;
    auto bus = std::make_unique<CLoopbackSCSIBus>();
    CLoopbackSCSIBus* created = bus.get();
    return registry.Register(std::move(bus)) ? created : nullptr;
}

} // namespace quorvel
