#include "samplers/akai/AKAICom.h"

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMIDITransfer.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/sds/SDSMessages.h"

namespace quorvel {

using namespace akai;

std::unique_ptr<CRawSysex> CABCAKAICom::WaitForReply(uint32_t timeoutMs)
{
    uint64_t deadline = MIDIClock().Milliseconds() + timeoutMs;
    for (;;) {
        if (MIDIClock().Milliseconds() >= deadline) {
            OnTimeout();
            throw XSysexTimedOut(); // a transport whose OnTimeout returned
        }
        std::unique_ptr<CRawSysex> message;
        try {
            message = ReceiveOne();
        } catch (const XSysexTimedOut&) {
            continue; // the deadline decides
        }
        if (message->GetLength() < 5 || message->GetData()[2] != channel_)
            continue;
        if (sds::IsHandshake(*message)) {
            if (sds::MessageType(*message) == sds::kWait) {
                deadline += kWaitExtensionMs;
                continue;
            }
            return message;
        }
        if (IsAKAI(*message))
            return message;
    }
}

std::unique_ptr<CRawSysex> CABCAKAICom::Request(const CRawSysex& message, uint32_t timeoutMs)
{
    Flush();
    Send(message);
    return WaitForReply(timeoutMs);
}

void CABCAKAICom::Command(const CRawSysex& message)
{
    const std::unique_ptr<CRawSysex> answer = Request(message);
    if (!IsAKAI(*answer) || Operation(*answer) != kReply || answer->GetLength() != kReplyLength)
        throw XAKAIUnexpectedCommand();
    if (answer->GetData()[5] != 0)
        throw XAKAIReceivedError();
}

CAKAIMIDICom::CAKAIMIDICom(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel)
    : CABCAKAICom(channel), connection_(input, output)
{
}

void CAKAIMIDICom::Send(const CRawSysex& message) { connection_.Send(message); }

void CAKAIMIDICom::Flush() { connection_.Input().Flush(); }

std::unique_ptr<CRawSysex> CAKAIMIDICom::ReceiveOne() { return connection_.Receive(kReplyTimeoutMs); }

std::unique_ptr<CABCSampleReceiver> CAKAIMIDICom::CreateReceiver(const SAKAITransferContext& context,
                                                                 uint16_t sampleNumber)
{
    return std::make_unique<CAKAISampleReceiverMIDI>(context, connection_, sampleNumber);
}

std::unique_ptr<CABCSampleTransmitter> CAKAIMIDICom::CreateTransmitter(const SAKAITransferContext& context)
{
    return std::make_unique<CAKAISampleTransmitterMIDI>(context, connection_);
}

void CAKAIMIDICom::OnTimeout() { throw XSysexTimedOut(); }

} // namespace quorvel
