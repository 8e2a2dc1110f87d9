#include "devices/emulated/EmulatedSamplers.h"

#include <filesystem>
#include <iostream>

#include "devices/emulated/A3000EmulatorStartUp.h"
#include "devices/emulated/AKAIEmulator.h"
#include "devices/emulated/AKAISCSIEmulator.h"
#include "devices/emulated/S760EmulatorStart.h"
#include "devices/emulated/KurzweilEmulatorStart.h"
#include "devices/emulated/EnsoniqEmulatorStart.h"
#include "devices/emulated/SDSEmulator.h"
#include "devices/emulated/SMDIEmulator.h"
#include "devices/midi/LoopbackMIDI.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSIExceptions.h"

namespace quorvel {

namespace {

std::string MemoryFolder(const SEmulatorSettings& settings, const std::string& id)
{
    if (settings.folder.empty())
        return {};
    return (std::filesystem::path(settings.folder) / id).string();
}

std::shared_ptr<CSMDIEmulator> StartSMDIEmulator(const SSMDIEmulatorModel& model, const SEmulatorSettings& settings,
                                                 CABCEmulatorClock& clock, std::ostream& warnings)
{
    const std::string folder = MemoryFolder(settings, model.id);
    try {
        return std::make_shared<CSMDIEmulator>(model, clock, settings.faults, folder);
    } catch (const std::exception& failure) {
        warnings << "Emulated " << model.name << ": cannot use " << folder << " (" << failure.what()
                 << "); its memory lasts as long as the process\n";
        return std::make_shared<CSMDIEmulator>(model, clock, settings.faults);
    }
}

} // namespace

CEmulatedSamplers::CEmulatedSamplers(CMIDIPortLists& ports, CSCSIBusRegistry& scsiBuses,
                                     const SEmulatorSettings& settings, CABCEmulatorClock& clock, uint32_t baud,
                                     std::ostream& warnings)
{
    Start(ports, scsiBuses, settings, clock, baud, warnings);
}

CEmulatedSamplers::CEmulatedSamplers(CMIDIPortLists& ports, const SEmulatorSettings& settings,
                                     CABCEmulatorClock& clock, uint32_t baud, std::ostream& warnings)
    : ownBuses_(std::make_unique<CSCSIBusRegistry>())
{
    Start(ports, *ownBuses_, settings, clock, baud, warnings);
}

void CEmulatedSamplers::Start(CMIDIPortLists& ports, CSCSIBusRegistry& scsiBuses, const SEmulatorSettings& settings,
                              CABCEmulatorClock& clock, uint32_t baud, std::ostream& warnings)
{
    for (const std::string& id : settings.samplers) {
        if (StartA3000Emulator(id, ports, scsiBuses, settings, clock, baud, warnings, midi_))
            continue;
        if (StartS760Emulator(id, ports, settings, clock, baud, warnings, midi_))
            continue;
        if (StartKurzweilEmulator(id, ports, scsiBuses, settings, clock, baud, warnings, midi_))
            continue;
        if (id == CSDSEmulator::kId) {
            SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(ports, CSDSEmulator::kPortName, baud);
            const std::string folder = MemoryFolder(settings, id);
            try {
                midi_.push_back(std::make_unique<CSDSEmulator>(ends, clock, settings.faults, folder));
            } catch (const std::exception& failure) {
                warnings << "Emulated SDS: cannot use " << folder << " (" << failure.what()
                         << "); its memory lasts as long as the process\n";
                midi_.push_back(std::make_unique<CSDSEmulator>(ends, clock, settings.faults));
            }
        } else if (StartEnsoniqEmulator(id, ports, MemoryFolder(settings, id), settings, clock, baud, warnings,
                                        midi_)) {
        } else if (const SAKAIEmulatorModel* akai = FindAKAIEmulatorModel(id)) {
            SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(ports, CAKAIEmulator::PortName(*akai), baud);
            const std::string folder = MemoryFolder(settings, id);
            try {
                midi_.push_back(std::make_unique<CAKAIEmulator>(*akai, ends, clock, settings.faults, folder));
            } catch (const std::exception& failure) {
                warnings << CAKAIEmulator::PortName(*akai) << ": cannot use " << folder << " (" << failure.what()
                         << "); its memory lasts as long as the process\n";
                midi_.push_back(std::make_unique<CAKAIEmulator>(*akai, ends, clock, settings.faults));
            }
        } else if (const SSMDIEmulatorModel* model = FindSMDIEmulatorModel(id)) {
            CLoopbackSCSIBus* bus = LoopbackSCSIBus(scsiBuses);
            if (!bus) {
                warnings << "Emulated " << model->name << ": every SCSI bus slot is taken; not started\n";
                continue;
            }
            std::shared_ptr<CSMDIEmulator> emulator = StartSMDIEmulator(*model, settings, clock, warnings);
            try {
                bus->AddTarget(emulator);
            } catch (const XSCSI&) {
                warnings << "Emulated " << model->name << ": no free target id on the Loopback bus; not started\n";
                continue;
            }
            scsi_.push_back(std::move(emulator));
        } else if (const SAKAISCSIEmulatorModel* akaiSCSI = FindAKAISCSIEmulatorModel(id)) {
            CLoopbackSCSIBus* bus = LoopbackSCSIBus(scsiBuses);
            const std::string name = "Emulated " + akaiSCSI->sampler.name;
            if (!bus) {
                warnings << name << ": every SCSI bus slot is taken; not started\n";
                continue;
            }
            const std::string folder = MemoryFolder(settings, id);
            std::shared_ptr<CAKAISCSIEmulator> emulator;
            try {
                emulator = std::make_shared<CAKAISCSIEmulator>(*akaiSCSI, clock, settings.faults, folder);
            } catch (const std::exception& failure) {
                warnings << name << ": cannot use " << folder << " (" << failure.what()
                         << "); its memory lasts as long as the process\n";
                emulator = std::make_shared<CAKAISCSIEmulator>(*akaiSCSI, clock, settings.faults);
            }
            try {
                bus->AddTarget(emulator);
            } catch (const XSCSI&) {
                warnings << name << ": no free target id on the Loopback bus; not started\n";
                continue;
            }
            akaiSCSI_.push_back(std::move(emulator));
        }
    }
}

CEmulatedSamplers::~CEmulatedSamplers() = default;

std::unique_ptr<CEmulatedSamplers> StartEmulatedSamplersFromEnvironment(CMIDIPortLists& ports,
                                                                        CSCSIBusRegistry& scsiBuses)
{
    const SEmulatorSettings settings = EmulatorSettingsFromEnvironment(std::cerr);
    if (settings.samplers.empty())
        return nullptr;
    return std::make_unique<CEmulatedSamplers>(ports, scsiBuses, settings, SteadyEmulatorClock(),
                                               CLoopbackMIDIWire::BaudFromEnvironment(), std::cerr);
}

std::unique_ptr<CEmulatedSamplers> StartEmulatedSamplersFromEnvironment(CMIDIPortLists& ports)
{
    const SEmulatorSettings settings = EmulatorSettingsFromEnvironment(std::cerr);
    if (settings.samplers.empty())
        return nullptr;
    return std::make_unique<CEmulatedSamplers>(ports, settings, SteadyEmulatorClock(),
                                               CLoopbackMIDIWire::BaudFromEnvironment(), std::cerr);
}

} // namespace quorvel
