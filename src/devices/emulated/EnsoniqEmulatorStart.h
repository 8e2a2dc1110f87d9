#pragma once
// Starts the emulated Ensoniq sampler an emulator id names, for the
// start-up registry of emulated samplers.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

// False when `id` is not an Ensoniq model. Otherwise adds its Loopback
// ports to `ports` and the emulator to `midi`, with its memory in `folder`
// (empty: memory only); a folder it cannot use is reported on `warnings`
// and the emulator starts with a memory that lasts as long as the process.
bool StartEnsoniqEmulator(const std::string& id, CMIDIPortLists& ports, const std::string& folder,
                          const SEmulatorSettings& settings, CABCEmulatorClock& clock, uint32_t baud,
                          std::ostream& warnings, std::vector<std::unique_ptr<CABCMIDIEmulator>>& midi);

} // namespace quorvel
