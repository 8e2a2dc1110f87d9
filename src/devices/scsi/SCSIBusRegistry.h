#pragma once
// The buses found at start-up: up to 30 fixed slots, each empty or holding
// one bus. The n-th bus is the n-th occupied slot in slot order.
#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "devices/scsi/SCSIBus.h"

namespace quorvel {

constexpr size_t kMaxSCSIBuses = 30;

class CSCSIBusRegistry {
public:
    // Takes the first free slot. With every slot taken the bus is dropped
    // and false comes back.
    bool Register(std::unique_ptr<CSCSIBus> bus);
    // Deletes every bus with this name.
    void Remove(const std::string& name);
    void Clear();

    size_t Count() const;
    // The n-th occupied slot's bus, or null past the end.
    CSCSIBus* Bus(size_t index) const;
    // The first bus with this name, or null.
    CSCSIBus* Find(const std::string& name) const;

private:
    std::array<std::unique_ptr<CSCSIBus>, kMaxSCSIBuses> slots_;
};

} // namespace quorvel
