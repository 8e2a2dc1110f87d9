#pragma once
// SCSI host adapters reached through the Linux SCSI generic driver (driver
// kind "Linux SG"). The hosts come from /sys/class/scsi_host, their targets
// from /sys/class/scsi_device, and each command goes to the target's /dev/sg
// node with the SG_IO ioctl.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "devices/scsi/SCSIBus.h"

namespace quorvel {

class CSCSIBusRegistry;

constexpr const char* kLinuxSGDriverName = "Linux SG";

// Where the listing looks; tests point both at a folder tree of their own.
struct SLinuxSGPaths {
    std::string sysRoot = "/sys";
    std::string devRoot = "/dev";
};

// One host as the listing found it: its number, its name, its own id and
// the generic node of each target (logical unit 0) that can be opened for
// reading and writing.
struct SLinuxSGHost {
    unsigned number = 0;
    std::string name;
    uint8_t adapterId = 7;
    std::map<uint8_t, std::string> targetNodes;
    // The generic driver's version ("3.5.36" in module/sg/version), or zero.
    CVersion driverVersion;
};

// Hosts without a usable target node are left out, so a machine without
// SCSI generic nodes, or without the permission to use them, has none.
std::vector<SLinuxSGHost> ListLinuxSGHosts(const SLinuxSGPaths& paths = {});

class CLinuxSGBus final : public CSCSIBus {
public:
    explicit CLinuxSGBus(const SLinuxSGHost& host);
    ~CLinuxSGBus() override;

    uint8_t TargetCount() const override { return targetCount_; }
    bool TargetPresent(uint8_t id) const { return host_.targetNodes.count(id) != 0; }

protected:
    // A target without a node gives no device at once. A node that cannot be
    // opened, or an SG_IO the kernel refuses, throws XSCSI.
    SCSIResult Execute(const SCSIDevice& device, const uint8_t* block, ESCSIDirection direction, uint8_t* data,
                       size_t length) override;

private:
    int Node(uint8_t id);

    SLinuxSGHost host_;
    uint8_t targetCount_ = 8;
    std::map<uint8_t, int> openNodes_;
};

// Registers one bus per listed host; returns how many were registered.
size_t RegisterLinuxSGBuses(CSCSIBusRegistry& registry, const SLinuxSGPaths& paths = {});

} // namespace quorvel
