#include "devices/scsi/LinuxSGBus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIExceptions.h"
#include "devices/scsi/SGStatus.h"

namespace quorvel {

namespace fs = std::filesystem;

namespace {

std::string FirstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// "H:C:T:L" of a scsi_device entry.
bool ParseAddress(const std::string& text, unsigned (&parts)[4])
{
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t end = i < 3 ? text.find(':', start) : text.size();
        if (end == std::string::npos || end == start)
            return false;
        const std::string field = text.substr(start, end - start);
        if (field.find_first_not_of("0123456789") != std::string::npos || field.size() > 9)
            return false;
        parts[i] = static_cast<unsigned>(std::stoul(field));
        start = end + 1;
    }
    return true;
}

// The target's generic node name ("sg3"), from the device's scsi_generic folder.
std::string GenericNodeName(const fs::path& device)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(device / "device" / "scsi_generic", error))
        return entry.path().filename().string();
    return {};
}

// "3.5.36" -> 3, 5, 36; what does not parse stays zero.
CVersion ParseVersion(const std::string& text)
{
    CVersion version;
    uint8_t* parts[] = {&version.major, &version.minor, &version.third};
    size_t start = 0;
    for (uint8_t* part : parts) {
        const size_t end = text.find_first_not_of("0123456789", start);
        const std::string field = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (field.empty() || field.size() > 3 || std::stoi(field) > 255)
            break;
        *part = static_cast<uint8_t>(std::stoi(field));
        if (end == std::string::npos || text[end] != '.')
            break;
        start = end + 1;
    }
    return version;
}

bool Usable(const std::string& node)
{
    return ::access(node.c_str(), R_OK | W_OK) == 0;
}

} // namespace

std::vector<SLinuxSGHost> ListLinuxSGHosts(const SLinuxSGPaths& paths)
{
    std::map<unsigned, SLinuxSGHost> hosts;
    std::error_code error;
    const fs::path hostFolder = fs::path(paths.sysRoot) / "class" / "scsi_host";
    for (const auto& entry : fs::directory_iterator(hostFolder, error)) {
        const std::string folder = entry.path().filename().string();
        if (folder.rfind("host", 0) != 0 || folder.size() == 4 ||
            folder.find_first_not_of("0123456789", 4) != std::string::npos || folder.size() > 13)
            continue;
        SLinuxSGHost host;
        host.number = static_cast<unsigned>(std::stoul(folder.substr(4)));
        const std::string driver = FirstLine(entry.path() / "proc_name");
        host.name = driver.empty() || driver == "(null)" ? folder : folder + " (" + driver + ")";
        const std::string ownId = FirstLine(entry.path() / "this_id");
        if (!ownId.empty() && ownId.find_first_not_of("0123456789") == std::string::npos && ownId.size() < 4 &&
            std::stoi(ownId) < 256)
            host.adapterId = static_cast<uint8_t>(std::stoi(ownId));
        hosts[host.number] = host;
    }

    const fs::path deviceFolder = fs::path(paths.sysRoot) / "class" / "scsi_device";
    for (const auto& entry : fs::directory_iterator(deviceFolder, error)) {
        unsigned address[4];
        if (!ParseAddress(entry.path().filename().string(), address))
            continue;
        const auto host = hosts.find(address[0]);
        // Samplers answer on logical unit 0; ids past 255 do not fit a target id.
        if (host == hosts.end() || address[3] != 0 || address[2] > 255)
            continue;
        const std::string node = GenericNodeName(entry.path());
        if (node.empty())
            continue;
        const std::string path = (fs::path(paths.devRoot) / node).string();
        if (Usable(path))
            host->second.targetNodes.emplace(static_cast<uint8_t>(address[2]), path);
    }

    const CVersion driverVersion = ParseVersion(FirstLine(fs::path(paths.sysRoot) / "module" / "sg" / "version"));
    std::vector<SLinuxSGHost> usable;
    for (auto& [number, host] : hosts) {
        host.driverVersion = driverVersion;
        if (!host.targetNodes.empty())
            usable.push_back(std::move(host));
    }
    return usable;
}

CLinuxSGBus::CLinuxSGBus(const SLinuxSGHost& host)
    : CSCSIBus(host.name, kLinuxSGDriverName, host.adapterId, static_cast<uint16_t>(host.number)), host_(host)
{
    driverVersion_ = host.driverVersion;
    unsigned count = 8;
    for (const auto& [id, node] : host_.targetNodes)
        count = std::max(count, id + 1u);
    if (host_.adapterId < 255)
        count = std::max(count, host_.adapterId + 1u);
    targetCount_ = static_cast<uint8_t>(std::min(count, 255u));
}

CLinuxSGBus::~CLinuxSGBus()
{
    for (const auto& [id, fd] : openNodes_)
        ::close(fd);
}

int CLinuxSGBus::Node(uint8_t id)
{
    const auto open = openNodes_.find(id);
    if (open != openNodes_.end())
        return open->second;
    const int fd = ::open(host_.targetNodes.at(id).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw XSCSI();
    openNodes_[id] = fd;
    return fd;
}

SCSIResult CLinuxSGBus::Execute(const SCSIDevice& device, const uint8_t* block, ESCSIDirection direction,
                                uint8_t* data, size_t length)
{
    if (!TargetPresent(device.target)) {
        SCSIResult result;
        result.kind = kSCSINoDevice;
        return result;
    }
    const size_t blockLength = CommandBlockLength(block[0]);
    if (blockLength == 0 || length > UINT32_MAX)
        throw XSCSI();

    uint8_t command[kMaxCommandBlock];
    std::copy(block, block + blockLength, command);
    uint8_t sense[kSCSISenseLength] = {};
    sg_io_hdr_t request{};
    request.interface_id = 'S';
    request.dxfer_direction = direction == ESCSIDirection::kIn    ? SG_DXFER_FROM_DEV
                              : direction == ESCSIDirection::kOut ? SG_DXFER_TO_DEV
                                                                  : SG_DXFER_NONE;
    request.cmd_len = static_cast<unsigned char>(blockLength);
    request.cmdp = command;
    request.mx_sb_len = sizeof sense;
    request.sbp = sense;
    request.dxfer_len = direction == ESCSIDirection::kNone ? 0 : static_cast<unsigned>(length);
    request.dxferp = direction == ESCSIDirection::kNone ? nullptr : data;
    request.timeout = device.timeoutMs;

    if (::ioctl(Node(device.target), SG_IO, &request) < 0)
        throw XSCSI();
    return DecodeSGStatus(SSGStatus{request.status, request.host_status, request.driver_status, sense,
                                    request.sb_len_wr});
}

size_t RegisterLinuxSGBuses(CSCSIBusRegistry& registry, const SLinuxSGPaths& paths)
{
    size_t registered = 0;
    for (const auto& host : ListLinuxSGHosts(paths))
        registered += registry.Register(std::make_unique<CLinuxSGBus>(host)) ? 1 : 0;
    return registered;
}

} // namespace quorvel
