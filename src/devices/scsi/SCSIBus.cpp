#include "devices/scsi/SCSIBus.h"

#include "devices/scsi/SCSITrace.h"

namespace quorvel {

CSCSIBus::CSCSIBus(std::string name, std::string driverName, uint8_t adapterId, uint16_t adapterNumber)
    : name_(name.substr(0, kMaxSCSIBusName)), driverName_(std::move(driverName)), adapterId_(adapterId),
      adapterNumber_(adapterNumber)
{
}

SCSIResult CSCSIBus::ExecuteIn(const SCSIDevice& device, const uint8_t* block, size_t length, uint8_t* buffer)
{
    return Traced(device, block, ESCSIDirection::kIn, buffer, length);
}

SCSIResult CSCSIBus::ExecuteOut(const SCSIDevice& device, const uint8_t* block, size_t length, const uint8_t* buffer)
{
    // The drivers only read from an outgoing buffer.
    return Traced(device, block, ESCSIDirection::kOut, const_cast<uint8_t*>(buffer), length);
}

SCSIResult CSCSIBus::ExecuteNoData(const SCSIDevice& device, const uint8_t* block)
{
    return Traced(device, block, ESCSIDirection::kNone, nullptr, 0);
}

SCSIResult CSCSIBus::Traced(const SCSIDevice& device, const uint8_t* block, ESCSIDirection direction, uint8_t* data,
                            size_t length)
{
    const SCSIResult result = Execute(device, block, direction, data, length);
    TraceSCSICommand(name_, device.target, block, direction, data, length, result);
    return result;
}

} // namespace quorvel
