#include "devices/scsi/SCSITrace.h"

#include <algorithm>

#include "devices/DeviceTrace.h"
#include "devices/scsi/SCSICommandBlock.h"

namespace quorvel {

namespace {

const char* DirectionName(ESCSIDirection direction)
{
    switch (direction) {
    case ESCSIDirection::kIn:
        return "in";
    case ESCSIDirection::kOut:
        return "out";
    default:
        return "none";
    }
}

} // namespace

std::string SCSITraceFields(const std::string& bus, uint8_t target, const uint8_t* block, ESCSIDirection direction,
                            const uint8_t* data, size_t length, const SCSIResult& result)
{
    const size_t senseLength =
        result.senseLength > 0 ? std::min<size_t>(static_cast<size_t>(result.senseLength), result.sense.size()) : 0;
    return std::string("scsi\t") + bus + ':' + std::to_string(target) + '\t' +
           TraceHex(block, CommandBlockLength(block[0])) + '\t' + DirectionName(direction) + '\t' +
           (data ? TraceHex(data, length) : std::string()) + '\t' + std::to_string(result.kind) + '\t' +
           TraceHex(result.sense.data(), senseLength);
}

void TraceSCSICommand(const std::string& bus, uint8_t target, const uint8_t* block, ESCSIDirection direction,
                      const uint8_t* data, size_t length, const SCSIResult& result)
{
    if (!DeviceTraceActive())
        return;
    TraceDeviceLine(SCSITraceFields(bus, target, block, direction, data, length, result));
}

} // namespace quorvel
