#pragma once
// The A3000 interfaces of an installed sampler, on MIDI ports they open and
// keep open for their lifetime.
#include "samplers/OpenSysexPorts.h"
#include "samplers/yamaha/A3000SCSITransfer.h"

namespace quorvel {

class CA3000InstalledMIDIInterface final : private SOpenSysexPorts, public CA3000MIDIInterface {
public:
    CA3000InstalledMIDIInterface(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output,
                                 uint8_t device);
};

class CA3000InstalledMIDIAndSCSIInterface final : private SOpenSysexPorts, public CA3000MIDIAndSCSIInterface {
public:
    CA3000InstalledMIDIAndSCSIInterface(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output,
                                        uint8_t device, const SCSIDevice& scsi);
};

} // namespace quorvel
