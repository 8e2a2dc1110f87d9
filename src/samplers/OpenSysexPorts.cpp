#include "samplers/OpenSysexPorts.h"

#include "devices/midi/MIDIExceptions.h"

namespace quorvel {

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

SOpenSysexPorts::SOpenSysexPorts(const CRegisteredMIDIInput& in, const CRegisteredMIDIOutput& out)
    : input(OpenInput(in, parser)), output(OpenOutput(out))
{
}

} // namespace quorvel
