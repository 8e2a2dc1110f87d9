#pragma once
// A plain Sample Dump Standard sampler at device number 0 (device 7F, the
// all-call, reaches it too). It takes a dump header and data packets with
// the ACK/NAK/WAIT/CANCEL handshake, or without one (an open-loop sender
// that never waits for the answers), checks each packet's number and
// checksum, and keeps the sample by its number with every header field.
// It answers a dump request for a sample it holds by dumping it, closed
// loop when the receiver answers the header, open loop when it does not.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/SampleDumpEmulator.h"
#include "devices/emulated/SDSSampleStore.h"

namespace quorvel {

class CSDSEmulator final : public CABCSampleDumpEmulator {
public:
    static constexpr const char* kId = "sds";
    static constexpr const char* kPortName = "Emulated SDS";
    // How long a dump waits for the receiver to answer the header, and then
    // for each packet's handshake, before it goes on without one.
    static constexpr uint64_t kHeaderReplyMs = 2000;
    static constexpr uint64_t kPacketReplyMs = 2000;
    // A held answer (fault "wait") repeats its WAIT this often, so that the
    // sender knows the sampler is still there.
    static constexpr uint64_t kWaitRepeatMs = 1000;

    // `folder` empty: memory only. Starts at once.
    CSDSEmulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock, const std::vector<SEmulatorFault>& faults,
                 const std::string& folder = {});
    ~CSDSEmulator() override;

    // The sample memory; it takes any thread.
    CSDSSampleStore& Samples() { return store_; }

protected:
    void OnMessage(const std::vector<uint8_t>& message) override { OnSampleDumpMessage(message); }
    void KeepSample(const SSDSSample& sample) override { store_.Put(sample); }
    std::optional<SSDSSample> SampleToDump(uint16_t number) override { return store_.Find(number); }

private:
    CSDSSampleStore store_;
};

} // namespace quorvel
