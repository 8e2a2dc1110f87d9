#include "samplers/roland/S760Recognizer.h"

#include <array>

#include "samplers/roland/RolandExceptions.h"
#include "samplers/roland/RolandMessages.h"
#include "samplers/roland/S760InstalledMIDIInterface.h"
#include "samplers/roland/S760Layouts.h"

namespace quorvel {

std::vector<uint8_t> S760SearchRequest(uint8_t device)
{
    // The flag set, as the interface's own exchange writes it.
    const std::array<uint8_t, 2> access{0, 0};
    const CRawSysex request = roland::BuildAddressed({device, roland::kS760Model}, roland::kDataSet,
                                                     s760::kAccessAddress, access);
    return std::vector<uint8_t>(request.GetData(), request.GetData() + request.GetLength());
}

std::vector<SFoundSampler> CS760Recognizer::RecognizeMIDIMessage(const SMIDIMessageSeen& seen) const
{
    const CRawSysex& message = seen.message;
    if (message.GetLength() < roland::kAddressedOverhead || message.GetData()[1] != roland::kManufacturer ||
        message.GetData()[3] != roland::kS760Model)
        return {};
    try {
        roland::AddressedData(message, roland::kDataSet, s760::kAccessAddress, 2);
    } catch (const XBase&) {
        return {};
    }
    SFoundSampler found;
    found.typeId = kS760MIDIModel;
    found.midiIn = seen.input;
    found.midiOut = seen.output;
    found.sysexId = message.GetData()[2];
    found.foundViaMIDI = true;
    return {found};
}

} // namespace quorvel
