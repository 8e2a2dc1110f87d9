#include "samplers/sds/SDSReceiver.h"

#include "devices/midi/SysexMIDIInput.h"
#include "samplers/sds/SDSAwait.h"
#include "samplers/sds/SDSExceptions.h"
#include "samplers/sds/SDSMessages.h"

namespace quorvel {

using namespace sds;

CSDSReceiver::CSDSReceiver(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel, uint16_t sampleNumber,
                           uint32_t replyTimeoutMs)
    : channel_(channel), sampleNumber_(sampleNumber), connection_(input, output, kUniversalNonRealTime, channel),
      replyTimeoutMs_(replyTimeoutMs)
{
}

CSDSReceiver::CSDSReceiver(const CSysexConnection& connection, uint16_t sampleNumber, uint32_t replyTimeoutMs)
    : CSDSReceiver(connection.Output(), connection.Input(), connection.GetDeviceID(), sampleNumber, replyTimeoutMs)
{
}

CSDSReceiver::~CSDSReceiver() { StopQuietly(); }

void CSDSReceiver::BeginReception(SampleInfo& info, int32_t, int32_t& wordsPerFrame)
{
    expectedPacket_ = 0;
    RequestDump();
    const std::unique_ptr<CRawSysex> message = AwaitMessage(connection_, replyTimeoutMs_);
    if (!IsHeader(*message))
        throw XSDSUnexpectedSysex();
    const SDumpHeader header = ParseHeader(*message);
    // Words above 28 bits have no packing: receiving them would never progress.
    if (WordsPerPacket(header.format) == 0)
        throw XSDSUnexpectedSysex();
    format_ = header.format;
    wordsPerFrame = WordsPerFrame(format_);
    info = InfoFromHeader(header);
    SetChunkSize(static_cast<uint32_t>(WordsPerPacket(format_)));
    connection_.Send(BuildHandshake(channel_, kAck, 0));
    StartReception(header.length);
    // An empty sample has no packets to wait for.
    if (header.length == 0)
        FinishReception();
}

void CSDSReceiver::RequestDump() { connection_.SendFlushed(BuildRequest(channel_, sampleNumber_ & 0x3FFF)); }

std::unique_ptr<CRawSysex> CSDSReceiver::TakePacket()
{
    std::unique_ptr<CRawSysex> message = AwaitMessage(connection_, replyTimeoutMs_);
    if (!IsPacket(*message))
        throw XSDSUnexpectedSysex();
    if (PacketNumber(*message) != expectedPacket_)
        throw XSDSInvalidPacketIndex();
    if (PacketChecksum(message->GetData()) != message->GetData()[kPacketLength - 2])
        throw XSDSChecksumError();
    return message;
}

SSampleWords CSDSReceiver::ReceiveChunk(uint32_t frames)
{
    std::unique_ptr<CRawSysex> packet;
    for (int attempt = 0; !packet; ++attempt) {
        try {
            packet = TakePacket();
        } catch (const XExternalDeviceRejected&) {
            FinishReception();
            throw;
        } catch (const XExternalDeviceException&) {
            if (attempt > 0)
                throw;
            connection_.SendFlushed(BuildHandshake(channel_, kNak, expectedPacket_));
        }
    }
    connection_.Send(BuildHandshake(channel_, kAck, expectedPacket_));
    AddDone(frames);
    SSampleWords words;
    if (format_ > 16) {
        DecodePacket(packet->GetData(), format_, static_cast<int32_t>(frames), wide_.data());
        words = wide_.data();
    } else {
        DecodePacket(packet->GetData(), format_, static_cast<int32_t>(frames), narrow_.data());
        words = narrow_.data();
    }
    expectedPacket_ = (expectedPacket_ + 1) & 0x7F;
    if (FramesDone() >= FramesTotal())
        FinishReception();
    return words;
}

void CSDSReceiver::AbortReception()
{
    try {
        AwaitMessage(connection_, replyTimeoutMs_);
    } catch (...) {
        // Whatever the sampler still had to say no longer matters.
    }
    try {
        connection_.SendFlushed(BuildHandshake(channel_, kCancel, expectedPacket_));
    } catch (...) {
        FinishReception();
        throw;
    }
    FinishReception();
}

} // namespace quorvel
