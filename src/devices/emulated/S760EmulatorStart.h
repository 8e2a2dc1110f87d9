#pragma once
// Starts the emulated S-760 for its id, so that the start-up registry needs
// one line for it.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

// False when `id` is not the S-760's. Otherwise adds its Loopback port pair
// to `ports` (paced at `baud`, 0: unpaced), appends the emulator to `midi`
// with its memory in `settings.folder/<id>/` when the folder is set (a
// folder it cannot use is reported on `warnings` and the memory lasts as
// long as the process), and returns true.
bool StartS760Emulator(const std::string& id, CMIDIPortLists& ports, const SEmulatorSettings& settings,
                       CABCEmulatorClock& clock, uint32_t baud, std::ostream& warnings,
                       std::vector<std::unique_ptr<CABCMIDIEmulator>>& midi);

} // namespace quorvel
