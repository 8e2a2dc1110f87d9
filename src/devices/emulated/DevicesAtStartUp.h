#pragma once
// The sampler transports a process sets up at start-up, in the desktop
// program and the command-line tool alike: the platform's MIDI ports, the
// platform's SCSI buses (Linux SG), and the emulated samplers asked for in
// the environment with their Loopback ports and the Loopback SCSI bus.
#include <memory>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBusRegistry.h"

namespace quorvel {

class CEmulatedSamplers;

// Registers the Linux SG buses. A failure registers none of them, so that
// the settings say "No SCSI available"; returns the buses registered.
size_t RegisterSCSIBusesAtStartUp(CSCSIBusRegistry& registry);

class CDevicesAtStartUp {
public:
    // Registers everything at once, from the process environment.
    CDevicesAtStartUp();
    ~CDevicesAtStartUp();
    CDevicesAtStartUp(const CDevicesAtStartUp&) = delete;
    CDevicesAtStartUp& operator=(const CDevicesAtStartUp&) = delete;

    CMIDIPortLists& MIDIPorts() { return midiPorts_; }
    CSCSIBusRegistry& SCSIBuses() { return scsiBuses_; }
    // Null when no emulator was asked for.
    CEmulatedSamplers* Emulated() const { return emulated_.get(); }

private:
    // The emulators go first when this ends, before the ports and buses
    // they are wired to.
    CMIDIPortLists midiPorts_;
    CSCSIBusRegistry scsiBuses_;
    std::unique_ptr<CEmulatedSamplers> emulated_;
};

} // namespace quorvel
