#include "samplers/akai/AKAIInstalledMIDIInterface.h"

#include "devices/midi/MIDIExceptions.h"

namespace quorvel {

namespace akai {

SOpenMIDIPorts::SOpenMIDIPorts(const CRegisteredMIDIInput& in, const CRegisteredMIDIOutput& out)
    : input(in.Open(parser)), output(out.Open())
{
    if (!input || !output)
        throw XFailedOpeningMIDIPort();
}

} // namespace akai

CAKAIInstalledMIDIInterface::CAKAIInstalledMIDIInterface(const CRegisteredMIDIInput& input,
                                                         const CRegisteredMIDIOutput& output, uint8_t channel,
                                                         uint32_t typeId)
    : akai::SOpenMIDIPorts(input, output), CAKAIMIDIInterface(*this->output, parser, channel, typeId)
{
}

} // namespace quorvel
