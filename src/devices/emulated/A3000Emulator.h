#pragma once
// An emulated A3000 reached over MIDI, at device number 0 (SysEx ID 1). It
// answers the Identity Request and the bulk dump requests for the object
// list ("OL"), sample parameters ("SP"), sample banks ("SB") and wave data
// ("WD"), and takes "SP", "SB" and "WD" dumps into its memory, by name. A
// dump that fails a check is thrown away whole, as the sampler drops a bulk
// it cannot read; it sends no answer to a dump either way.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devices/emulated/A3000Dump.h"
#include "devices/emulated/A3000Memory.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"

namespace quorvel {

class CA3000Emulator final : public CABCMIDIEmulator {
public:
    // The operating-system version the Identity Reply gives.
    static constexpr uint8_t kVersionMajor = 2;
    static constexpr uint8_t kVersionMinor = 0;

    // Starts at once; the memory may be shared with the SCSI side.
    CA3000Emulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock, const std::vector<SEmulatorFault>& faults,
                   std::shared_ptr<CA3000Memory> memory);
    ~CA3000Emulator() override;

    CA3000Memory& Memory() { return *memory_; }
    // Dumps thrown away so far.
    uint64_t RefusedDumps() const { return refused_.load(std::memory_order_acquire); }

protected:
    void OnMessage(const std::vector<uint8_t>& message) override;

private:
    struct SFaults {
        bool silent = false;
        bool wrongName = false;
        std::vector<uint32_t> badXor;      // every dump
        std::vector<uint32_t> badChecksum; // wave-data dumps
    };

    void Out(const A3000Bytes& message);
    void Answer(const SA3000Request& request);
    void SendDump(const std::string& type, A3000Name name, const A3000Bytes& payload);
    void Take(const SA3000Dump& dump);
    void Refuse() { refused_.fetch_add(1, std::memory_order_acq_rel); }

    SFaults faults_;
    std::shared_ptr<CA3000Memory> memory_;
    std::atomic<uint64_t> refused_{0};
};

} // namespace quorvel
