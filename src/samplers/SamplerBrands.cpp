#include "samplers/SamplerBrands.h"

#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/akai/AKAIInstalledMIDIInterface.h"
#include "samplers/akai/AKAIModels.h"
#include "samplers/akai/AKAIRecognizer.h"
#include "samplers/akai/AKAISCSIInterface.h"
#include "samplers/emu/EMUSamplerClasses.h"
#include "samplers/kurzweil/KurzweilModels.h"
#include "samplers/kurzweil/KurzweilRecognizer.h"
#include "samplers/yamaha/A3000InstalledInterfaces.h"
#include "samplers/roland/S760InstalledMIDIInterface.h"
#include "samplers/ensoniq/EnsoniqModels.h"
#include "samplers/yamaha/A3000Recognizer.h"
#include "samplers/yamaha/A3000Version.h"

namespace quorvel {

bool SamplerBrandBuilt(uint32_t typeId)
{
    return EMUSamplerClass(typeId) != nullptr || akai::MIDIModelGeneration(typeId).has_value() ||
           akai::IsSCSIModel(typeId) || kurzweil::IsKurzweilModel(typeId) || typeId == kA3000MIDIModel ||
           typeId == kA3000MIDIAndSCSIModel || typeId == kS760MIDIModel ||
           ensoniq::IsEnsoniqModel(typeId);
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
    if (kurzweil::IsKurzweilModel(sampler.modelTypeId)) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        std::optional<SCSIDevice> target;
        if (kurzweil::UsesSCSIForData(sampler.modelTypeId))
            target = InstalledSCSIDevice(sampler, devices);
        return kurzweil::OpenKurzweilInterface(sampler.modelTypeId, ports.input, ports.output, sampler.sysexId, target);
    }
    if (sampler.modelTypeId == kA3000MIDIModel) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        return std::make_unique<CA3000InstalledMIDIInterface>(ports.input, ports.output, sampler.sysexId);
    }
    if (sampler.modelTypeId == kA3000MIDIAndSCSIModel) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        return std::make_unique<CA3000InstalledMIDIAndSCSIInterface>(ports.input, ports.output, sampler.sysexId,
                                                                     InstalledSCSIDevice(sampler, devices));
    }
    if (sampler.modelTypeId == kS760MIDIModel) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        return std::make_unique<CS760InstalledMIDIInterface>(ports.input, ports.output, sampler.sysexId);
    }
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
    // The Kurzweils tell their version over MIDI, with or without SCSI.
    if (kurzweil::IsKurzweilModel(sampler.modelTypeId)) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        return ReadKurzweilVersion(ports.input, ports.output, sampler.sysexId, sampler.modelTypeId, version);
    }
    // The S-760 tells no version: an answer is all it gives, and the version stays as it was.
    if (sampler.modelTypeId == kS760MIDIModel) {
        const SInstalledMIDIPorts ports = InstalledMIDIPorts(sampler, devices);
        CheckS760Answers(ports.input, ports.output, sampler.sysexId);
        return true;
    }
    throw XSamplerNotSupported();
}

} // namespace quorvel
