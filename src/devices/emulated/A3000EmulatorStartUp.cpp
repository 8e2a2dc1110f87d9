#include "devices/emulated/A3000EmulatorStartUp.h"

#include <ostream>

#include "devices/emulated/A3000Emulator.h"
#include "devices/emulated/A3000SCSIEmulator.h"
#include "devices/emulated/EmulatedPortName.h"
#include "devices/emulated/EmulatorMemoryFolder.h"
#include "devices/midi/LoopbackMIDI.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIExceptions.h"

namespace quorvel {

const std::vector<SA3000EmulatorModel>& A3000EmulatorModels()
{
    static const std::vector<SA3000EmulatorModel> models = {
        {"6000", "Yamaha A3000 via MIDI", false},
        {"6002", "Yamaha A3000 via MIDI+SCSI", true},
    };
    return models;
}

const SA3000EmulatorModel* FindA3000EmulatorModel(const std::string& id)
{
    for (const SA3000EmulatorModel& model : A3000EmulatorModels())
        if (model.id == id)
            return &model;
    return nullptr;
}

bool StartA3000Emulator(const std::string& id, CMIDIPortLists& ports, CSCSIBusRegistry& buses,
                        const SEmulatorSettings& settings, CABCEmulatorClock& clock, uint32_t baud,
                        std::ostream& warnings, std::vector<std::unique_ptr<CABCMIDIEmulator>>& midi)
{
    const SA3000EmulatorModel* model = FindA3000EmulatorModel(id);
    if (!model)
        return false;
    const std::string name = EmulatedPortName(model->name);
    const std::shared_ptr<CA3000Memory> memory = WithMemoryFolder(
        name, MemoryFolder(settings, id), warnings,
        [](const std::string& folder) { return std::make_shared<CA3000Memory>(folder); });
    if (model->scsi) {
        CLoopbackSCSIBus* bus = LoopbackSCSIBus(buses);
        if (!bus)
            warnings << name << ": every SCSI bus slot is taken; its SCSI side is not started\n";
        else
            try {
                bus->AddTarget(std::make_shared<CA3000SCSIEmulator>(clock, settings.faults, memory));
            } catch (const XSCSI&) {
                warnings << name << ": no free target id on the Loopback bus; its SCSI side is not started\n";
            }
    }
    midi.push_back(std::make_unique<CA3000Emulator>(AddLoopbackMIDIPorts(ports, name, baud), clock, settings.faults,
                                                    memory));
    return true;
}

} // namespace quorvel
