#include "devices/emulated/EmulatedSamplers.h"

#include <filesystem>
#include <iostream>

#include "devices/emulated/SDSEmulator.h"
#include "devices/midi/LoopbackMIDI.h"

namespace quorvel {

namespace {

std::string MemoryFolder(const SEmulatorSettings& settings, const std::string& id)
{
    if (settings.folder.empty())
        return {};
    return (std::filesystem::path(settings.folder) / id).string();
}

} // namespace

CEmulatedSamplers::CEmulatedSamplers(CMIDIPortLists& ports, const SEmulatorSettings& settings,
                                     CABCEmulatorClock& clock, uint32_t baud, std::ostream& warnings)
{
    for (const std::string& id : settings.samplers) {
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
        }
    }
}

CEmulatedSamplers::~CEmulatedSamplers() = default;

std::unique_ptr<CEmulatedSamplers> StartEmulatedSamplersFromEnvironment(CMIDIPortLists& ports)
{
    const SEmulatorSettings settings = EmulatorSettingsFromEnvironment(std::cerr);
    if (settings.samplers.empty())
        return nullptr;
    return std::make_unique<CEmulatedSamplers>(ports, settings, SteadyEmulatorClock(),
                                               CLoopbackMIDIWire::BaudFromEnvironment(), std::cerr);
}

} // namespace quorvel
