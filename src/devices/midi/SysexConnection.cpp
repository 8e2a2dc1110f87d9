#include "devices/midi/SysexConnection.h"

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexMIDIInput.h"

namespace quorvel {

CSysexConnection::CSysexConnection(CSysexMIDIInput& input, CMIDIOutput& output) : input_(input), output_(output) {}

CSysexConnection::CSysexConnection(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t manufacturer)
    : input_(input), output_(output), checkManufacturer_(true), manufacturer_(manufacturer)
{
}

CSysexConnection::CSysexConnection(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t manufacturer,
                                   uint8_t device)
    : input_(input), output_(output), checkDevice_(true), checkManufacturer_(true), device_(device),
      manufacturer_(manufacturer)
{
}

CSysexConnection::CSysexConnection(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t manufacturer,
                                   uint8_t device, uint8_t model)
    : input_(input), output_(output), checkDevice_(true), checkManufacturer_(true), checkModel_(true),
      device_(device), manufacturer_(manufacturer), model_(model)
{
}

bool CSysexConnection::Matches(const CRawSysex& message) const
{
    if (!filterActive_)
        return true;
    const int32_t minimum = checkModel_ ? 5 : checkDevice_ ? 4 : checkManufacturer_ ? 3 : 2;
    if (message.GetLength() < minimum)
        return false;
    const uint8_t* bytes = message.GetData();
    if (bytes[0] != 0xF0)
        return false;
    if (checkManufacturer_ && bytes[1] != manufacturer_)
        return false;
    if (checkDevice_ && bytes[2] != device_)
        return false;
    if (checkModel_ && bytes[3] != model_)
        return false;
    return true;
}

void CSysexConnection::DelayNextSend(uint32_t ms)
{
    const uint64_t until = MIDIClock().Milliseconds() + ms;
    if (until > earliestSend_)
        earliestSend_ = until;
}

void CSysexConnection::WaitUntilSendAllowed()
{
    while (MIDIClock().Milliseconds() < earliestSend_)
        ServiceAllMIDIInputs();
}

void CSysexConnection::Send(const CRawSysex& message) { Send(message.GetData(), message.GetLength()); }

void CSysexConnection::Send(const uint8_t* data, int32_t length)
{
    WaitUntilSendAllowed();
    output_.SendBytes(data, length);
}

void CSysexConnection::SendFlushed(const CRawSysex& message)
{
    WaitUntilSendAllowed();
    input_.Flush();
    Send(message);
}

std::unique_ptr<CRawSysex> CSysexConnection::Receive(uint32_t timeoutMs)
{
    const uint64_t deadline = MIDIClock().Milliseconds() + timeoutMs;
    for (;;) {
        std::unique_ptr<CRawSysex> message = input_.NextSysex();
        if (message && !Matches(*message))
            message.reset();
        // An answer goes back at once: a yield here would add a millisecond
        // to every packet of a dump.
        if (message)
            return message;
        const uint64_t now = MIDIClock().Milliseconds();
        ServiceAllMIDIInputs();
        if (now >= deadline)
            throw XSysexTimedOut();
    }
}

std::unique_ptr<CRawSysex> CSysexConnection::Transact(const CRawSysex& request, uint32_t timeoutMs,
                                                      int32_t attempts)
{
    for (int32_t attempt = 0; attempt < attempts; ++attempt) {
        SendFlushed(request);
        try {
            return Receive(timeoutMs);
        } catch (const XSysexTimedOut&) {
        }
    }
    throw XSysexTimedOut();
}

} // namespace quorvel
