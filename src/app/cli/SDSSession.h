#pragma once
// A plain sample dump sampler reached over two registered MIDI ports, open
// for as long as one command talks to it.
#include <memory>

#include "app/cli/SamplerOptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/sds/SDSSamplerInterface.h"

namespace quorvel::cli {

class CSDSSession {
public:
    // Opens the ports the options name. CliError (status 3) with the
    // program's port alert when a port is not registered or does not open.
    CSDSSession(const CMIDIPortLists& ports, const SamplerOptions& options);
    CSDSSession(const CSDSSession&) = delete;
    CSDSSession& operator=(const CSDSSession&) = delete;

    CSDSSamplerInterface& Interface() { return *interface_; }

private:
    // Declared in the order they open; they close the other way round.
    CSysexMIDIInput parser_;
    std::unique_ptr<CMIDIInput> input_;
    std::unique_ptr<CMIDIOutput> output_;
    std::unique_ptr<CSDSSamplerInterface> interface_;
};

} // namespace quorvel::cli
