#pragma once
// The emulated samplers a process runs: started at start-up, in the program
// and the command-line tool alike, from the settings of the environment.
// Each MIDI emulator adds one Loopback input and one Loopback output, both
// named after it ("Emulated SDS"), to the port lists. Each SCSI emulator is
// a target on the registry's one Loopback bus, at ids 0, 1, 2 ... in list
// order.
#include <iosfwd>
#include <memory>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

class CSCSIBusRegistry;
class CSMDIEmulator;
class CAKAISCSIEmulator;

class CEmulatedSamplers {
public:
    // Starts every emulator of `settings` on `clock`; a Loopback wire paces
    // at `baud` (0: unpaced). Each keeps its memory in `settings.folder/<id>/`
    // when the folder is set. An emulator whose memory cannot be read is
    // reported on `warnings` and started with an empty memory; one that finds
    // no room on the bus is reported and left out.
    CEmulatedSamplers(CMIDIPortLists& ports, CSCSIBusRegistry& scsiBuses, const SEmulatorSettings& settings,
                      CABCEmulatorClock& clock, uint32_t baud, std::ostream& warnings);
    // The same with a registry of its own for the SCSI emulators (Buses()),
    // for callers that have none.
    CEmulatedSamplers(CMIDIPortLists& ports, const SEmulatorSettings& settings, CABCEmulatorClock& clock,
                      uint32_t baud, std::ostream& warnings);
    ~CEmulatedSamplers();
    CEmulatedSamplers(const CEmulatedSamplers&) = delete;
    CEmulatedSamplers& operator=(const CEmulatedSamplers&) = delete;

    const std::vector<std::unique_ptr<CABCMIDIEmulator>>& MIDIEmulators() const { return midi_; }
    // In list order; the bus shares them.
    const std::vector<std::shared_ptr<CSMDIEmulator>>& SCSIEmulators() const { return scsi_; }
    // The AKAI SCSI models, in list order; the bus shares them.
    const std::vector<std::shared_ptr<CAKAISCSIEmulator>>& AKAISCSIEmulators() const { return akaiSCSI_; }
    // The registry of its own, or null when it was given one.
    CSCSIBusRegistry* OwnBuses() const { return ownBuses_.get(); }

private:
    void Start(CMIDIPortLists& ports, CSCSIBusRegistry& scsiBuses, const SEmulatorSettings& settings,
               CABCEmulatorClock& clock, uint32_t baud, std::ostream& warnings);

    std::unique_ptr<CSCSIBusRegistry> ownBuses_;
    std::vector<std::unique_ptr<CABCMIDIEmulator>> midi_;
    std::vector<std::shared_ptr<CSMDIEmulator>> scsi_;
    std::vector<std::shared_ptr<CAKAISCSIEmulator>> akaiSCSI_;
};

// From the process environment (QUORVEL_EMULATED_SAMPLERS, QUORVEL_EMULATOR_DIR,
// QUORVEL_EMULATOR_FAULTS, QUORVEL_MIDI_BAUD), with warnings on stderr;
// nullptr when no emulator is asked for.
std::unique_ptr<CEmulatedSamplers> StartEmulatedSamplersFromEnvironment(CMIDIPortLists& ports,
                                                                        CSCSIBusRegistry& scsiBuses);
// The SCSI emulators on a registry of the emulators' own.
std::unique_ptr<CEmulatedSamplers> StartEmulatedSamplersFromEnvironment(CMIDIPortLists& ports);

} // namespace quorvel
