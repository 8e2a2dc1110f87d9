#include "samplers/SamplerBrands.h"

#include "devices/scsi/SCSIExceptions.h"
#include "samplers/emu/EMUSamplerClasses.h"

namespace quorvel {

bool SamplerBrandBuilt(uint32_t typeId) { return EMUSamplerClass(typeId) != nullptr; }

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
    throw XSamplerNotSupported();
}

bool ReadOSVersion(const CPersistentInstalledSampler& sampler, const SSamplerDevices& devices, CVersion& version)
{
    if (const auto emu = EMUSamplerClass(sampler.modelTypeId))
        return emu->ReadOSVersion(InstalledSCSIDevice(sampler, devices), version);
    throw XSamplerNotSupported();
}

} // namespace quorvel
