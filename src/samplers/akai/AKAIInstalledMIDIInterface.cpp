#include "samplers/akai/AKAIInstalledMIDIInterface.h"

#include "devices/midi/MIDIExceptions.h"

namespace quorvel {

namespace akai {

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

SOpenMIDIPorts::SOpenMIDIPorts(const CRegisteredMIDIInput& in, const CRegisteredMIDIOutput& out)
    : input(OpenInput(in, parser)), output(OpenOutput(out))
{
}

} // namespace akai

CAKAIInstalledMIDIInterface::CAKAIInstalledMIDIInterface(const CRegisteredMIDIInput& input,
                                                         const CRegisteredMIDIOutput& output, uint8_t channel,
                                                         uint32_t typeId)
    : akai::SOpenMIDIPorts(input, output), CAKAIMIDIInterface(*this->output, parser, channel, typeId)
{
}

} // namespace quorvel
