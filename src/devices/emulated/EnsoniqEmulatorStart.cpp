#include "devices/emulated/EnsoniqEmulatorStart.h"

#include <ostream>

#include "devices/emulated/EmulatorMemoryFolder.h"
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
    midi.push_back(WithMemoryFolder(name, folder, warnings, [&](const std::string& memory) {
        return std::make_unique<CEnsoniqEmulator>(*model, ends, clock, settings.faults, memory);
    }));
    return true;
}

} // namespace quorvel
