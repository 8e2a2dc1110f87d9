#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

namespace {

std::string Cut(const std::string& text) { return text.substr(0, CRegisteredMIDIInput::kMaxNameLength); }

} // namespace

CRegisteredMIDIInput::CRegisteredMIDIInput(const std::string& name, const std::string& driverKind)
    : name_(Cut(name)), driverKind_(Cut(driverKind))
{
}

CRegisteredMIDIOutput::CRegisteredMIDIOutput(const std::string& name, const std::string& driverKind)
    : name_(Cut(name)), driverKind_(Cut(driverKind))
{
}

const CRegisteredMIDIInput* CMIDIPortLists::FindInput(const std::string& name) const
{
    for (const auto& port : inputs)
        if (port->Name() == name)
            return port.get();
    return nullptr;
}

const CRegisteredMIDIOutput* CMIDIPortLists::FindOutput(const std::string& name) const
{
    for (const auto& port : outputs)
        if (port->Name() == name)
            return port.get();
    return nullptr;
}

} // namespace quorvel
