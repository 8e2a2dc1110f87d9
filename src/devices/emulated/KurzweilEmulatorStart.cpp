#include "devices/emulated/KurzweilEmulatorStart.h"

#include <filesystem>
#include <ostream>

#include "devices/emulated/KurzweilEmulator.h"
#include "devices/emulated/SMDIEmulator.h"
#include "devices/midi/LoopbackMIDI.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIExceptions.h"

namespace quorvel {

namespace {

std::shared_ptr<CSMDIEmulator> StartTarget(const SKurzweilEmulatorModel& model, CSCSIBusRegistry& scsiBuses,
                                           const SEmulatorSettings& settings, const std::string& folder,
                                           CABCEmulatorClock& clock, std::ostream& warnings)
{
    const std::string name = CKurzweilEmulator::PortName(model);
    CLoopbackSCSIBus* bus = LoopbackSCSIBus(scsiBuses);
    if (!bus) {
        warnings << name << ": every SCSI bus slot is taken; reached over MIDI only\n";
        return nullptr;
    }
    const std::string samples = folder.empty() ? std::string() : (std::filesystem::path(folder) / "samples").string();
    std::shared_ptr<CSMDIEmulator> target = std::make_shared<CSMDIEmulator>(*model.scsi, clock, settings.faults, samples);
    try {
        bus->AddTarget(target);
    } catch (const XSCSI&) {
        warnings << name << ": no free target id on the Loopback bus; reached over MIDI only\n";
        return nullptr;
    }
    return target;
}

} // namespace

bool StartKurzweilEmulator(const std::string& id, CMIDIPortLists& ports, CSCSIBusRegistry& scsiBuses,
                           const SEmulatorSettings& settings, CABCEmulatorClock& clock, uint32_t baud,
                           std::ostream& warnings, std::vector<std::unique_ptr<CABCMIDIEmulator>>& midi)
{
    const SKurzweilEmulatorModel* model = FindKurzweilEmulatorModel(id);
    if (!model)
        return false;
    const std::string name = CKurzweilEmulator::PortName(*model);
    std::string folder = settings.folder.empty() ? std::string() : (std::filesystem::path(settings.folder) / id).string();
    std::shared_ptr<CSMDIEmulator> target;
    if (model->scsi) {
        try {
            target = StartTarget(*model, scsiBuses, settings, folder, clock, warnings);
        } catch (const std::exception& failure) {
            warnings << name << ": cannot use " << folder << " (" << failure.what()
                     << "); its memory lasts as long as the process\n";
            folder.clear();
            target = StartTarget(*model, scsiBuses, settings, folder, clock, warnings);
        }
    }
    SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(ports, name, baud);
    try {
        midi.push_back(std::make_unique<CKurzweilEmulator>(*model, ends, clock, settings.faults, folder, target));
    } catch (const std::exception& failure) {
        warnings << name << ": cannot use " << folder << " (" << failure.what()
                 << "); its memory lasts as long as the process\n";
        midi.push_back(std::make_unique<CKurzweilEmulator>(*model, ends, clock, settings.faults, std::string(), target));
    }
    return true;
}

} // namespace quorvel
