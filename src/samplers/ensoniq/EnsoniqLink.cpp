#include "samplers/ensoniq/EnsoniqLink.h"

#include "devices/midi/MIDIService.h"
#include "samplers/ensoniq/EnsoniqEncoding.h"
#include "samplers/ensoniq/EnsoniqExceptions.h"
#include "samplers/ensoniq/EnsoniqParameters.h"

namespace quorvel {

using namespace ensoniq;

namespace {

[[noreturn]] void ThrowStatus(uint32_t status)
{
    switch (status) {
    case kStatusInvalidParameter:
        throw XEnsoniqInvalidParameter();
    case kStatusNoInstrument:
    case kStatusNoLayer:
    case kStatusNoWave:
        throw XEnsoniqInvalidTarget();
    case kStatusWaveInUse:
        throw XEnsoniqWaveInUse();
    case kStatusNoMoreWaves:
        throw XEnsoniqNoMoreWaves();
    case kStatusOutOfMemory:
        throw XEnsoniqOutOfMemory();
    case kStatusNotAcknowledged:
        throw XEnsoniqNotAcknowledged();
    default:
        throw XEnsoniqErrorResponse();
    }
}

} // namespace

CEnsoniqLink::CEnsoniqLink(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel)
    : connection_(input, output, kManufacturer), header_{kProduct, channel}
{
}

std::unique_ptr<CRawSysex> CEnsoniqLink::AwaitReply(uint32_t timeoutMs, int32_t dataLength)
{
    uint64_t deadline = MIDIClock().Milliseconds() + timeoutMs;
    for (;;) {
        const uint64_t now = MIDIClock().Milliseconds();
        std::unique_ptr<CRawSysex> message =
            connection_.Receive(deadline > now ? static_cast<uint32_t>(deadline - now) : 0);
        // Other products and channels share the cable.
        if (!IsFor(header_, *message))
            continue;
        const int32_t length = message->GetLength();
        // Data starts with a sample word or a parameter value, whose first
        // byte can read as a command: its length tells it apart.
        if (dataLength > 0 && length == dataLength)
            return message;
        const uint8_t command = message->GetData()[4];
        if (command == kCancel && length == kCancelLength)
            throw XEnsoniqCancelled();
        if (command != kResponse)
            return message;
        if (length != kResponseLength)
            throw XEnsoniqInvalidSize();
        const uint32_t status = Decode12(message->GetData() + 5);
        if (status == kStatusDone)
            return nullptr;
        if (status != kStatusWait)
            ThrowStatus(status);
        Send(ResponseMessage(header_, kStatusDone));
        deadline += kWaitExtensionMs;
    }
}

void CEnsoniqLink::ExpectDone(std::unique_ptr<CRawSysex> reply)
{
    if (reply)
        throw XEnsoniqUnexpectedResponse();
}

void CEnsoniqLink::Command(uint8_t command, const SAddress& address)
{
    connection_.SendFlushed(AddressMessage(header_, command, address));
    ExpectDone(AwaitReply(kResponseTimeoutMs));
}

void CEnsoniqLink::ReadParameters(uint8_t command, uint8_t replyCommand, const SAddress& address,
                                  CEnsoniqParameters& block)
{
    connection_.SendFlushed(AddressMessage(header_, command, address));
    // The sampler may acknowledge the request before it names the block.
    std::unique_ptr<CRawSysex> named = AwaitReply(kResponseTimeoutMs);
    if (!named)
        named = AwaitReply(kResponseTimeoutMs);
    if (!named || named->GetLength() != kAddressLength || named->GetData()[4] != replyCommand ||
        !(AddressOf(*named) == address))
        throw XEnsoniqUnexpectedResponse();
    Send(ResponseMessage(header_, kStatusDone));
    const auto blockLength = static_cast<int32_t>(block.EncodedLength()) + kHeaderLength + 1;
    const std::unique_ptr<CRawSysex> data = AwaitReply(kResponseTimeoutMs, blockLength);
    if (!data)
        throw XEnsoniqUnexpectedResponse();
    block.Decode(BodyOf(*data));
    Send(ResponseMessage(header_, kStatusDone));
    connection_.DelayNextSend(kReadHoldMs);
}

void CEnsoniqLink::WriteParameters(uint8_t command, const SAddress& address, const CEnsoniqParameters& block)
{
    connection_.SendFlushed(AddressMessage(header_, command, address));
    ExpectDone(AwaitReply(kResponseTimeoutMs));
    Send(BlockMessage(header_, block.Encode()));
    ExpectDone(AwaitReply(kResponseTimeoutMs));
}

void CEnsoniqLink::WriteWaveData(uint32_t instrument, uint32_t wave, uint32_t start, uint32_t frames,
                                 uint32_t wordsPerFrame, const int16_t* words)
{
    connection_.SendFlushed(RangeMessage(header_, kPutWaveData, {instrument, 0, wave}, start, start + frames));
    ExpectDone(AwaitReply(kResponseTimeoutMs));
    Send(WaveDataMessage(header_, words, frames * wordsPerFrame));
    ExpectDone(AwaitReply(kResponseTimeoutMs));
    connection_.DelayNextSend(kWaveWriteHoldMs);
}

std::vector<int16_t> CEnsoniqLink::ReadWaveData(const SAddress& address, uint32_t start, uint32_t frames,
                                                uint32_t wordsPerFrame)
{
    const uint32_t count = frames * wordsPerFrame;
    // The range ends where the next one starts, as in wave data writes.
    connection_.SendFlushed(RangeMessage(header_, kGetWaveData, address, start, start + frames));
    const int32_t length = WaveDataLength(count);
    // An acknowledgement, then the data named by a range message that wants
    // its own acknowledgement, may come before the data.
    std::unique_ptr<CRawSysex> data = AwaitReply(kResponseTimeoutMs, length);
    if (!data)
        data = AwaitReply(kResponseTimeoutMs, length);
    if (data && data->GetLength() == kRangeLength && data->GetData()[4] == kPutWaveData) {
        Send(ResponseMessage(header_, kStatusDone));
        data = AwaitReply(kResponseTimeoutMs, length);
    }
    if (!data)
        throw XEnsoniqUnexpectedResponse();
    if (data->GetLength() != WaveDataLength(count))
        throw XEnsoniqInvalidSize();
    std::vector<int16_t> words(count);
    const uint8_t* at = data->GetData() + kHeaderLength;
    for (uint32_t k = 0; k < count; ++k, at += kBytesPerWord)
        words[k] = DecodeWord(at);
    Send(ResponseMessage(header_, kStatusDone));
    return words;
}

void CEnsoniqLink::SendCancel() { Send(CancelMessage(header_)); }

} // namespace quorvel
