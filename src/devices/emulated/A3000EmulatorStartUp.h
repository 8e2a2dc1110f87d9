#pragma once
// Starting the emulated A3000s: type id 6000 ("Yamaha A3000 via MIDI") gets
// a Loopback port pair, 6002 ("Yamaha A3000 via MIDI+SCSI") the port pair
// and a target on the Loopback SCSI bus, both sides on one memory, kept in
// `<emulator folder>/<id>/` when a folder is set.
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

struct SA3000EmulatorModel {
    std::string id;
    std::string name;
    bool scsi = false;
};

const std::vector<SA3000EmulatorModel>& A3000EmulatorModels();
const SA3000EmulatorModel* FindA3000EmulatorModel(const std::string& id);

// False when `id` is not an A3000 model. Otherwise the MIDI side joins
// `midi`; the SCSI side is shared with the bus. Problems (a memory folder
// that cannot be used, a full bus) are reported on `warnings`.
bool StartA3000Emulator(const std::string& id, CMIDIPortLists& ports, CSCSIBusRegistry& buses,
                        const SEmulatorSettings& settings, CABCEmulatorClock& clock, uint32_t baud,
                        std::ostream& warnings, std::vector<std::unique_ptr<CABCMIDIEmulator>>& midi);

} // namespace quorvel
