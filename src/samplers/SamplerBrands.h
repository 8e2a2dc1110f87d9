#pragma once
// What the program knows of each hardware model beyond its table row: how
// to reach an installed sampler of that model (its interface on the
// registered ports and buses) and how to read its operating-system version.
// The brands built so far answer; the others throw XSamplerNotSupported.
#include <memory>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "fileformats/PreferenceObjects.h"
#include "samplers/SamplerInterface.h"

namespace quorvel {

// The ports and buses registered at start-up.
struct SSamplerDevices {
    const CMIDIPortLists& midi;
    const CSCSIBusRegistry& scsi;
};

// How long one SCSI command to a sampler may take.
constexpr uint32_t kSamplerSCSITimeoutMs = 10000;

// True when this program can talk to samplers of the model.
bool SamplerBrandBuilt(uint32_t typeId);

// The sampler's SCSI target on the bus its record names. XSCSI when that bus
// is not registered.
SCSIDevice InstalledSCSIDevice(const CPersistentInstalledSampler& sampler, const SSamplerDevices& devices);

// The interface to the installed sampler on its ports and bus.
// XSamplerNotSupported for a model whose brand is not built yet; XSCSI when
// its bus is not registered.
std::unique_ptr<CABCSamplerInterface> CreateSamplerInterface(const CPersistentInstalledSampler& sampler,
                                                             const SSamplerDevices& devices);

// Asks the sampler for its operating-system version: true with the version
// when it answered as the model it is installed as, false when something
// else answered. Device exceptions when it did not answer (XMIDI ones when
// its MIDI ports cannot be opened); XSamplerNotSupported as above.
bool ReadOSVersion(const CPersistentInstalledSampler& sampler, const SSamplerDevices& devices, CVersion& version);

} // namespace quorvel
