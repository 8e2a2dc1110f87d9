#include "devices/emulated/SDSEmulator.h"

namespace quorvel {

namespace {

SSampleDumpTiming Timing()
{
    SSampleDumpTiming timing;
    timing.headerReplyMs = CSDSEmulator::kHeaderReplyMs;
    timing.packetReplyMs = CSDSEmulator::kPacketReplyMs;
    timing.waitRepeatMs = CSDSEmulator::kWaitRepeatMs;
    return timing;
}

} // namespace

CSDSEmulator::CSDSEmulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock,
                           const std::vector<SEmulatorFault>& faults, const std::string& folder)
    : CABCSampleDumpEmulator(std::move(ends), clock, kPortName, Timing()), store_(folder)
{
    SSampleDumpFaults& dump = DumpFaults();
    for (const SEmulatorFault& fault : faults) {
        if (TakeDumpFault(fault))
            continue;
        if (fault.name == "wrong-packet")
            dump.wrongPacket.push_back(fault.value);
        else if (fault.name == "drop")
            dump.drop.push_back(fault.value);
        else if (fault.name == "wait") {
            dump.hasWait = true;
            dump.waitMs = fault.value;
        } else if (fault.name == "silent")
            dump.silent = true;
        // Others belong to other protocols.
    }
    Start();
}

CSDSEmulator::~CSDSEmulator() { Stop(); }

} // namespace quorvel
