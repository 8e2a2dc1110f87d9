#include "samplers/yamaha/A3000InstalledInterfaces.h"

#include "devices/midi/MIDIExceptions.h"

namespace quorvel {

namespace a3000 {

namespace {

std::unique_ptr<CMIDIInput> OpenInput(const CRegisteredMIDIInput& port, CSysexMIDIInput& parser)
{
    try {
        if (std::unique_ptr<CMIDIInput> input = port.Open(parser))
            return input;
    } catch (const XMIDI&) {
    }
    throw XFailedOpeningMIDIIn();
}

std::unique_ptr<CMIDIOutput> OpenOutput(const CRegisteredMIDIOutput& port)
{
    try {
        if (std::unique_ptr<CMIDIOutput> output = port.Open())
            return output;
    } catch (const XMIDI&) {
    }
    throw XFailedOpeningMIDIOut();
}

} // namespace

SOpenPorts::SOpenPorts(const CRegisteredMIDIInput& in, const CRegisteredMIDIOutput& out)
    : input(OpenInput(in, parser)), output(OpenOutput(out))
{
}

} // namespace a3000

CA3000InstalledMIDIInterface::CA3000InstalledMIDIInterface(const CRegisteredMIDIInput& input,
                                                           const CRegisteredMIDIOutput& output, uint8_t device)
    : a3000::SOpenPorts(input, output), CA3000MIDIInterface(*this->output, parser, device)
{
}

CA3000InstalledMIDIAndSCSIInterface::CA3000InstalledMIDIAndSCSIInterface(const CRegisteredMIDIInput& input,
                                                                         const CRegisteredMIDIOutput& output,
                                                                         uint8_t device, const SCSIDevice& scsi)
    : a3000::SOpenPorts(input, output), CA3000MIDIAndSCSIInterface(*this->output, parser, device, scsi)
{
}

} // namespace quorvel
