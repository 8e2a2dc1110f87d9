#include "samplers/SamplerBrands.h"

#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/akai/AKAIInstalledMIDIInterface.h"
#include "samplers/akai/AKAIModels.h"
#include "samplers/akai/AKAIRecognizer.h"
#include "samplers/akai/AKAISCSIInterface.h"
#include "samplers/emu/EMUSamplerClasses.h"
#include "samplers/ensoniq/EnsoniqModels.h"
#include "samplers/yamaha/A3000Recognizer.h"
#include "samplers/yamaha/A3000Version.h"

namespace quorvel {

bool SamplerBrandBuilt(uint32_t typeId)
{
    return EMUSamplerClass(typeId) != nullptr || akai::MIDIModelGeneration(typeId).has_value() ||
           akai::IsSCSIModel(typeId) || ensoniq::IsEnsoniqModel(typeId);
}

namespace {

struct SInstalledMIDIPorts {
    const CRegisteredMIDIInput& input;
    const CRegisteredMIDIOutput& output;
};

// XFailedOpeningMIDIIn or XFailedOpeningMIDIOut when a port is not registered.
SInstalledMIDIPorts InstalledMIDIPorts(const CPersistentInstalledSampler& sampler, const SSamplerDevices& devices)
{
    const CRegisteredMIDIInput* input = devices.midi.FindInput(sampler.midiIn.device);
    if (!input)
        throw XFailedOpeningMIDIIn();
    const CRegisteredMIDIOutput* output = devices.midi.FindOutput(sampler.midiOut.device);
    if (!output)
        throw XFailedOpeningMIDIOut();
    return {*input, *output};
}

} // namespace

SCSIDevice InstalledSCSIDevice(const CPersistentInstalledSampler& sampler, const SSamplerDevices& devices)
{
    CSCSIBus* bus = devices.scsi.Find(sampler.scsiBus.device);
    if (!bus)
        throw XSCSI();
    return SCSIDevice{bus, sampler.scsiId, kSamplerSCSITimeoutMs};
}

std::unique_ptr<CABCSamplerInterface> CreateSamplerInterface(const CPersistentInstalledSampler& sampler,
                                                             const SSamplerDevices& devices)
{
    if (const auto emu = EMUSamplerClass(sampler.modelTypeId))
        return emu->CreateInterface(InstalledSCSIDevice(sampler, devices));
    if (akai::MIDIModelGeneration(sampler.modelTypeId)) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        return std::make_unique<CAKAIInstalledMIDIInterface>(ports.input, ports.output, sampler.sysexId,
                                                             sampler.modelTypeId);
    }
    if (ensoniq::IsEnsoniqModel(sampler.modelTypeId)) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        return CreateInstalledEnsoniqInterface(sampler.modelTypeId, ports.input, ports.output, sampler.sysexId);
    }
    if (akai::IsSCSIModel(sampler.modelTypeId))
        return std::make_unique<CAKAISCSIInterface>(InstalledSCSIDevice(sampler, devices), sampler.sysexId);
    throw XSamplerNotSupported();
}

bool ReadOSVersion(const CPersistentInstalledSampler& sampler, const SSamplerDevices& devices, CVersion& version)
{
    if (const auto emu = EMUSamplerClass(sampler.modelTypeId))
        return emu->ReadOSVersion(InstalledSCSIDevice(sampler, devices), version);
    // The A3000 tells its version over MIDI, with or without SCSI.
    if (sampler.modelTypeId == kA3000MIDIModel || sampler.modelTypeId == kA3000MIDIAndSCSIModel) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        return ReadA3000Version(ports.input, ports.output, sampler.sysexId, version);
    }
    if (akai::MIDIModelGeneration(sampler.modelTypeId)) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        return ReadAKAIVersion(ports.input, ports.output, sampler.sysexId, version);
    }
    if (akai::IsSCSIModel(sampler.modelTypeId))
        return ReadAKAIVersion(InstalledSCSIDevice(sampler, devices), sampler.sysexId, version);
    throw XSamplerNotSupported();
}

} // namespace quorvel
