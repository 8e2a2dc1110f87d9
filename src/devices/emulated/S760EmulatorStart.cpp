#include "devices/emulated/S760EmulatorStart.h"

#include <ostream>

#include "devices/emulated/EmulatorMemoryFolder.h"
#include "devices/emulated/S760Emulator.h"
#include "devices/midi/LoopbackMIDI.h"

namespace quorvel {

bool StartS760Emulator(const std::string& id, CMIDIPortLists& ports, const SEmulatorSettings& settings,
                       CABCEmulatorClock& clock, uint32_t baud, std::ostream& warnings,
                       std::vector<std::unique_ptr<CABCMIDIEmulator>>& midi)
{
    if (id != CS760Emulator::kId)
        return false;
    SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(ports, CS760Emulator::kPortName, baud);
    midi.push_back(WithMemoryFolder(CS760Emulator::kPortName, MemoryFolder(settings, id), warnings,
                                    [&](const std::string& folder) {
                                        return std::make_unique<CS760Emulator>(ends, clock, settings.faults, folder);
                                    }));
    return true;
}

} // namespace quorvel
