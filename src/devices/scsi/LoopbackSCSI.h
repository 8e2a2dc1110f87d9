#pragma once
// The in-process bus "Loopback" (driver kind "Loopback"): its targets are
// objects in this process, added at ids 0, 1, 2 ... and never at the
// adapter's own id 7.
#include <map>
#include <memory>

#include "devices/scsi/SCSIBus.h"
#include "devices/scsi/SCSITarget.h"

namespace quorvel {

constexpr const char* kLoopbackSCSIBusName = "Loopback";
constexpr const char* kLoopbackSCSIDriverName = "Loopback";
constexpr uint8_t kLoopbackAdapterId = 7;

class CLoopbackSCSIBus final : public CSCSIBus {
public:
    CLoopbackSCSIBus();

    // Places the target at the next free id and returns that id. Throws XSCSI
    // when every id is taken.
    uint8_t AddTarget(std::shared_ptr<ISCSITarget> target);
    ISCSITarget* Target(uint8_t id) const;
    // Detaches whatever sits at `id`; the id stays taken so the ids of the
    // other targets never move.
    void RemoveTarget(uint8_t id);

protected:
    SCSIResult Execute(const SCSIDevice& device, const uint8_t* block, ESCSIDirection direction, uint8_t* data,
                       size_t length) override;

private:
    std::map<uint8_t, std::shared_ptr<ISCSITarget>> targets_;
    uint8_t nextId_ = 0;
};

class CSCSIBusRegistry;

// The one Loopback bus of the registry: the one already registered, or a new
// one. Null when every slot is taken.
CLoopbackSCSIBus* LoopbackSCSIBus(CSCSIBusRegistry& registry);

} // namespace quorvel
