#pragma once
// The A3000 interfaces of an installed sampler, on MIDI ports they open and
// keep open for their lifetime.
#include <memory>

#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/yamaha/A3000SCSITransfer.h"

namespace quorvel {

namespace a3000 {
// Opened before the interface that uses them, closed after it.
// XFailedOpeningMIDIIn or XFailedOpeningMIDIOut when one does not open.
struct SOpenPorts {
    SOpenPorts(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output);
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input;
    std::unique_ptr<CMIDIOutput> output;
};
} // namespace a3000

class CA3000InstalledMIDIInterface final : private a3000::SOpenPorts, public CA3000MIDIInterface {
public:
    CA3000InstalledMIDIInterface(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output,
                                 uint8_t device);
};

class CA3000InstalledMIDIAndSCSIInterface final : private a3000::SOpenPorts, public CA3000MIDIAndSCSIInterface {
public:
    CA3000InstalledMIDIAndSCSIInterface(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output,
                                        uint8_t device, const SCSIDevice& scsi);
};

} // namespace quorvel
