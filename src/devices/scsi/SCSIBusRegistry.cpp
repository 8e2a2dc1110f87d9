#include "devices/scsi/SCSIBusRegistry.h"

namespace quorvel {

bool CSCSIBusRegistry::Register(std::unique_ptr<CSCSIBus> bus)
{
    for (auto& slot : slots_) {
        if (!slot) {
            slot = std::move(bus);
            return true;
        }
    }
    return false;
}

void CSCSIBusRegistry::Remove(const std::string& name)
{
    for (auto& slot : slots_)
        if (slot && slot->Name() == name)
            slot.reset();
}

void CSCSIBusRegistry::Clear()
{
    for (auto& slot : slots_)
        slot.reset();
}

size_t CSCSIBusRegistry::Count() const
{
    size_t count = 0;
    for (const auto& slot : slots_)
        count += slot ? 1 : 0;
    return count;
}

CSCSIBus* CSCSIBusRegistry::Bus(size_t index) const
{
    for (const auto& slot : slots_) {
        if (!slot)
            continue;
        if (index == 0)
            return slot.get();
        --index;
    }
    return nullptr;
}

CSCSIBus* CSCSIBusRegistry::Find(const std::string& name) const
{
    for (const auto& slot : slots_)
        if (slot && slot->Name() == name)
            return slot.get();
    return nullptr;
}

} // namespace quorvel
