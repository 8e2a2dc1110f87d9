#include "devices/emulated/EmulatedPortName.h"

#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

std::string EmulatedPortName(const std::string& modelName)
{
    const std::string prefix = "Emulated ";
    const size_t limit = CRegisteredMIDIInput::kMaxNameLength;
    std::string name = prefix + modelName;
    if (name.size() <= limit)
        return name;
    const size_t space = modelName.find(' ');
    if (space != std::string::npos)
        name = prefix + modelName.substr(space + 1);
    return name.substr(0, limit);
}

} // namespace quorvel
