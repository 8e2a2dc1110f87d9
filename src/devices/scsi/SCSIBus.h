#pragma once
// A SCSI host adapter with the targets behind it. The drivers implement
// Execute; the public calls add the device trace, so every driver is traced
// the same way. Commands are issued from the user-interface thread only.
#include <cstddef>
#include <cstdint>
#include <string>

#include "devices/scsi/SCSIResult.h"
#include "fileformats/PreferenceObjects.h"

namespace quorvel {

class CSCSIBus;

// One target as the sampler code holds it.
struct SCSIDevice {
    CSCSIBus* bus = nullptr;
    uint8_t target = 0;
    uint32_t timeoutMs = 0;
};

constexpr size_t kMaxSCSIBusName = 32;

class CSCSIBus {
public:
    virtual ~CSCSIBus() = default;
    CSCSIBus(const CSCSIBus&) = delete;
    CSCSIBus& operator=(const CSCSIBus&) = delete;

    // Command with data from the target into `buffer`.
    SCSIResult ExecuteIn(const SCSIDevice& device, const uint8_t* block, size_t length, uint8_t* buffer);
    // Command with data from `buffer` to the target.
    SCSIResult ExecuteOut(const SCSIDevice& device, const uint8_t* block, size_t length, const uint8_t* buffer);
    SCSIResult ExecuteNoData(const SCSIDevice& device, const uint8_t* block);

    const std::string& Name() const { return name_; }
    const std::string& DriverName() const { return driverName_; }
    CVersion DriverVersion() const { return driverVersion_; }
    CVersion InterfaceVersion() const { return interfaceVersion_; }
    uint8_t AdapterId() const { return adapterId_; }
    uint16_t AdapterNumber() const { return adapterNumber_; }
    // Target ids run from 0 to TargetCount() - 1.
    virtual uint8_t TargetCount() const { return 8; }

protected:
    // `name` is cut to 32 characters.
    CSCSIBus(std::string name, std::string driverName, uint8_t adapterId, uint16_t adapterNumber);

    // The block's length follows from its operation code. `data` is read for
    // kOut, written for kIn and null for kNone.
    virtual SCSIResult Execute(const SCSIDevice& device, const uint8_t* block, ESCSIDirection direction, uint8_t* data,
                               size_t length) = 0;

    CVersion driverVersion_;
    CVersion interfaceVersion_;

private:
    SCSIResult Traced(const SCSIDevice& device, const uint8_t* block, ESCSIDirection direction, uint8_t* data,
                      size_t length);

    std::string name_;
    std::string driverName_;
    uint8_t adapterId_ = 7;
    uint16_t adapterNumber_ = 0;
};

} // namespace quorvel
