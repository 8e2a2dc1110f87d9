#include "devices/emulated/DevicesAtStartUp.h"

#include <string>
#include <vector>

#include "devices/emulated/EmulatedSamplers.h"
#include "devices/midi/MIDIPortRegistration.h"
#include "devices/scsi/LinuxSGBus.h"
#include "framework/XBase.h"

namespace quorvel {

size_t RegisterSCSIBusesAtStartUp(CSCSIBusRegistry& registry)
{
    try {
        return RegisterLinuxSGBuses(registry);
    } catch (const XBase&) {
        // None of them, rather than some.
        std::vector<std::string> names;
        for (size_t i = 0; i < registry.Count(); ++i)
            if (registry.Bus(i)->DriverName() == kLinuxSGDriverName)
                names.push_back(registry.Bus(i)->Name());
        for (const std::string& name : names)
            registry.Remove(name);
        return 0;
    }
}

CDevicesAtStartUp::CDevicesAtStartUp() : midiPorts_(RegisterMIDIPorts())
{
    RegisterSCSIBusesAtStartUp(scsiBuses_);
    emulated_ = StartEmulatedSamplersFromEnvironment(midiPorts_, scsiBuses_);
}

CDevicesAtStartUp::~CDevicesAtStartUp() = default;

} // namespace quorvel
