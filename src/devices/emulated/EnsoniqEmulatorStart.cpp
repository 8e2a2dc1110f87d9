#include "devices/emulated/EnsoniqEmulatorStart.h"

#include <ostream>

#include "devices/emulated/EnsoniqEmulator.h"
#include "devices/midi/LoopbackMIDI.h"

namespace quorvel {

bool StartEnsoniqEmulator(const std::string& id, CMIDIPortLists& ports, const std::string& folder,
                          const SEmulatorSettings& settings, CABCEmulatorClock& clock, uint32_t baud,
                          std::ostream& warnings, std::vector<std::unique_ptr<CABCMIDIEmulator>>& midi)
{
    const SEnsoniqEmulatorModel* model = FindEnsoniqEmulatorModel(id);
    if (!model)
        return false;
    const std::string name = CEnsoniqEmulator::PortName(*model);
    SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(ports, name, baud);
    try {
        midi.push_back(std::make_unique<CEnsoniqEmulator>(*model, ends, clock, settings.faults, folder));
    } catch (const std::exception& failure) {
        warnings << name << ": cannot use " << folder << " (" << failure.what()
                 << "); its memory lasts as long as the process\n";
        midi.push_back(std::make_unique<CEnsoniqEmulator>(*model, ends, clock, settings.faults));
    }
    return true;
}

} // namespace quorvel
