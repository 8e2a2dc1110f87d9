#pragma once
// Start-up of the emulated Kurzweil samplers from the emulator settings.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

class CSCSIBusRegistry;

// When `id` is a Kurzweil model: adds its Loopback MIDI ports, starts it
// into `midi` (the MIDI+SCSI models also as a target on the Loopback SCSI
// bus) and returns true; otherwise false. A memory folder that cannot be
// used, or a bus without room, is reported on `warnings`.
bool StartKurzweilEmulator(const std::string& id, CMIDIPortLists& ports, CSCSIBusRegistry& scsiBuses,
                           const SEmulatorSettings& settings, CABCEmulatorClock& clock, uint32_t baud,
                           std::ostream& warnings, std::vector<std::unique_ptr<CABCMIDIEmulator>>& midi);

} // namespace quorvel
