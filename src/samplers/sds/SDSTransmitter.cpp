#include "samplers/sds/SDSTransmitter.h"

#include "devices/midi/SysexMIDIInput.h"
#include "samplers/sds/SDSAwait.h"
#include "samplers/sds/SDSExceptions.h"
#include "samplers/sds/SDSMessages.h"

namespace quorvel {

using namespace sds;

CSDSTransmitter::CSDSTransmitter(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel,
                                 uint16_t sampleNumber, uint32_t replyTimeoutMs)
    : channel_(channel), sampleNumber_(sampleNumber),
      connection_(input, output, kUniversalNonRealTime, channel), replyTimeoutMs_(replyTimeoutMs)
{
}

CSDSTransmitter::CSDSTransmitter(const CSysexConnection& connection, uint16_t sampleNumber,
                                 uint32_t replyTimeoutMs)
    : CSDSTransmitter(connection.Output(), connection.Input(), connection.GetDeviceID(), sampleNumber,
                      replyTimeoutMs)
{
    SetResultSampleNumber(sampleNumber);
}

CSDSTransmitter::~CSDSTransmitter() { StopQuietly(); }

void CSDSTransmitter::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t)
{
    if (info.length > kMaxLength)
        throw XSDSSampleTooLong();
    wordsPerFrame = info.bits > 16 ? 2 : 1;
    const SDumpHeader header = HeaderFromInfo(info, sampleNumber_);
    packetNumber_ = 0;
    headerAcknowledged_ = false;
    lastPacket_.reset();
    connection_.SendFlushed(BuildHeader(channel_, header));
    format_ = header.format;
    Activate(static_cast<uint32_t>(WordsPerPacket(format_)));
}

bool CSDSTransmitter::ReceiveHandshake(uint8_t& packetNumber)
{
    const std::unique_ptr<CRawSysex> message = AwaitMessage(connection_, replyTimeoutMs_);
    if (!IsHandshake(*message))
        throw XSDSUnexpectedSysex();
    packetNumber = PacketNumber(*message);
    switch (MessageType(*message)) {
    case kAck:
        return true;
    case kNak:
        return false;
    default:
        throw XSDSUnexpectedSysex();
    }
}

void CSDSTransmitter::WaitForHeaderAck()
{
    uint8_t number = 0;
    if (!ReceiveHandshake(number))
        throw XSDSUnexpectedSysex();
}

void CSDSTransmitter::AwaitPacketAck()
{
    uint8_t number = 0;
    bool acknowledged = ReceiveHandshake(number);
    if (!lastPacket_ || number != packetNumber_)
        throw XSDSInvalidPacketIndex();
    if (!acknowledged) {
        connection_.Send(*lastPacket_);
        acknowledged = ReceiveHandshake(number);
        if (number != packetNumber_)
            throw XSDSInvalidPacketIndex();
        if (!acknowledged)
            throw XSDSNotAcknowledged();
    }
    packetNumber_ = (packetNumber_ + 1) & 0x7F;
}

void CSDSTransmitter::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    try {
        if (!headerAcknowledged_) {
            WaitForHeaderAck();
            headerAcknowledged_ = true;
        } else {
            AwaitPacketAck();
        }
        if (FramesTotal() > FramesDone()) {
            const void* words = format_ > 16 ? static_cast<const void*>(samples.wide)
                                             : static_cast<const void*>(samples.narrow);
            if (!words)
                throw XExternalDeviceException();
            lastPacket_ = BuildPacket(channel_, packetNumber_, format_, words, static_cast<int32_t>(frames));
            connection_.Send(*lastPacket_);
            AdvanceDone(frames);
        } else {
            FinishTransmission();
        }
    } catch (const XExternalDeviceRejected&) {
        FinishTransmission();
        throw;
    }
}

void CSDSTransmitter::AbortTransmission()
{
    try {
        AwaitMessage(connection_, replyTimeoutMs_);
    } catch (...) {
        // Whatever the sampler still had to say no longer matters.
    }
    try {
        connection_.SendFlushed(BuildHandshake(channel_, kCancel, packetNumber_));
    } catch (...) {
        FinishTransmission();
        throw;
    }
    FinishTransmission();
}

} // namespace quorvel
