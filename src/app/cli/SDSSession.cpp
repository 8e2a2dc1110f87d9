#include "app/cli/SDSSession.h"

#include "app/cli/CliError.h"
#include "devices/midi/MIDIExceptions.h"
#include "fileformats/FileAlerts.h"

namespace quorvel::cli {

namespace {

constexpr int kCannotOpenInAlert = 46;
constexpr int kCannotOpenOutAlert = 47;

CliError PortRefused(int alert, const std::string& name, const char* why)
{
    return CliError(kDeviceRefused, FileAlertText(alert, name) + " (" + why + ")");
}

} // namespace

CSDSSession::CSDSSession(const CMIDIPortLists& ports, const SamplerOptions& options)
{
    const CRegisteredMIDIInput* in = ports.FindInput(*options.midiIn);
    if (!in)
        throw PortRefused(kCannotOpenInAlert, *options.midiIn, "no such MIDI input; see quorvel-cli midi-ports");
    const CRegisteredMIDIOutput* out = ports.FindOutput(*options.midiOut);
    if (!out)
        throw PortRefused(kCannotOpenOutAlert, *options.midiOut, "no such MIDI output; see quorvel-cli midi-ports");
    try {
        input_ = in->Open(parser_);
    } catch (const XMIDI&) {
        throw PortRefused(kCannotOpenInAlert, *options.midiIn, "the port did not open");
    }
    try {
        output_ = out->Open();
    } catch (const XMIDI&) {
        throw PortRefused(kCannotOpenOutAlert, *options.midiOut, "the port did not open");
    }
    interface_ = std::make_unique<CSDSSamplerInterface>(*output_, parser_, static_cast<uint8_t>(options.sysexId));
}

} // namespace quorvel::cli
