#include "devices/emulated/S760EmulatorStart.h"

#include <filesystem>
#include <ostream>

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
    const std::string folder =
        settings.folder.empty() ? std::string() : (std::filesystem::path(settings.folder) / id).string();
    try {
        midi.push_back(std::make_unique<CS760Emulator>(ends, clock, settings.faults, folder));
    } catch (const std::exception& failure) {
        warnings << CS760Emulator::kPortName << ": cannot use " << folder << " (" << failure.what()
                 << "); its memory lasts as long as the process\n";
        midi.push_back(std::make_unique<CS760Emulator>(ends, clock, settings.faults));
    }
    return true;
}

} // namespace quorvel
