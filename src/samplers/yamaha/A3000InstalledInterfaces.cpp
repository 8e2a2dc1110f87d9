#include "samplers/yamaha/A3000InstalledInterfaces.h"

namespace quorvel {

CA3000InstalledMIDIInterface::CA3000InstalledMIDIInterface(const CRegisteredMIDIInput& input,
                                                           const CRegisteredMIDIOutput& output, uint8_t device)
    : SOpenSysexPorts(input, output), CA3000MIDIInterface(*this->output, parser, device)
{
}

CA3000InstalledMIDIAndSCSIInterface::CA3000InstalledMIDIAndSCSIInterface(const CRegisteredMIDIInput& input,
                                                                         const CRegisteredMIDIOutput& output,
                                                                         uint8_t device, const SCSIDevice& scsi)
    : SOpenSysexPorts(input, output), CA3000MIDIAndSCSIInterface(*this->output, parser, device, scsi)
{
}

} // namespace quorvel
