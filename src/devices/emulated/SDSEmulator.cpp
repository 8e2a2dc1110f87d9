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
        if (fault.name == "nak-once")
            dump.nakTimes[fault.value] = 1;
        else if (fault.name == "nak-twice")
            dump.nakTimes[fault.value] = 2;
        else if (fault.name == "bad-checksum")
            dump.badChecksum[fault.value] = true;
        else if (fault.name == "bad-checksum-once")
            dump.badChecksum.emplace(fault.value, false);
        else if (fault.name == "wrong-packet")
            dump.wrongPacket.push_back(fault.value);
        else if (fault.name == "cancel") {
            dump.cancelAt.push_back(fault.value);
            dump.cancelDumpAt.push_back(fault.value);
        } else if (fault.name == "drop")
            dump.drop.push_back(fault.value);
        else if (fault.name == "wait") {
            dump.hasWait = true;
            dump.waitMs = fault.value;
        } else if (fault.name == "silent")
            dump.silent = true;
        else if (fault.name == "reject-header")
            dump.rejectHeader = true;
        else if (fault.name == "cancel-header")
            dump.cancelHeader = true;
        // Others belong to other protocols.
    }
    Start();
}

CSDSEmulator::~CSDSEmulator() { Stop(); }

} // namespace quorvel
