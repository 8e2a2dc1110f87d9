#pragma once
// The emulated samplers a process runs: started at start-up, in the program
// and the command-line tool alike, from the settings of the environment.
// Each MIDI emulator adds one Loopback input and one Loopback output, both
// named after it ("Emulated SDS"), to the port lists.
#include <iosfwd>
#include <memory>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

class CEmulatedSamplers {
public:
    // Starts every emulator of `settings` on `clock`; a Loopback wire paces
    // at `baud` (0: unpaced). Each keeps its memory in `settings.folder/<id>/`
    // when the folder is set. An emulator whose memory cannot be read is
    // reported on `warnings` and started with an empty memory.
    CEmulatedSamplers(CMIDIPortLists& ports, const SEmulatorSettings& settings, CABCEmulatorClock& clock,
                      uint32_t baud, std::ostream& warnings);
    ~CEmulatedSamplers();
    CEmulatedSamplers(const CEmulatedSamplers&) = delete;
    CEmulatedSamplers& operator=(const CEmulatedSamplers&) = delete;

    const std::vector<std::unique_ptr<CABCMIDIEmulator>>& MIDIEmulators() const { return midi_; }

private:
    std::vector<std::unique_ptr<CABCMIDIEmulator>> midi_;
};

// From the process environment (QUORVEL_EMULATED_SAMPLERS, QUORVEL_EMULATOR_DIR,
// QUORVEL_EMULATOR_FAULTS, QUORVEL_MIDI_BAUD), with warnings on stderr;
// nullptr when no emulator is asked for.
std::unique_ptr<CEmulatedSamplers> StartEmulatedSamplersFromEnvironment(CMIDIPortLists& ports);

} // namespace quorvel
