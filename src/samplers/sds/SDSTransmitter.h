#pragma once
// Sends one sample with the MIDI sample dump, closed loop: the header, then
// one 120-byte data packet at a time, each sent only after the sampler has
// acknowledged the one before. A NAKed packet is sent once more.
#include <cstdint>
#include <memory>

#include "devices/midi/RawSysex.h"
#include "devices/midi/SysexConnection.h"
#include "samplers/SampleTransmitter.h"

namespace quorvel {

class CMIDIOutput;
class CSysexMIDIInput;

class CSDSTransmitter : public CABCSampleTransmitter {
public:
    CSDSTransmitter(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel, uint16_t sampleNumber,
                    uint32_t replyTimeoutMs);
    // On the ports and device byte of `connection`; the sample number is also
    // the resulting one.
    CSDSTransmitter(const CSysexConnection& connection, uint16_t sampleNumber, uint32_t replyTimeoutMs);
    ~CSDSTransmitter() override;

    // Sends the dump header for `info` (format held to 8..28 bits); the
    // input is flushed first so that no earlier answer counts.
    // XSDSSampleTooLong, before anything is sent, for more than 2^21 - 1 frames.
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    // Awaits the answer to what went out last (the header or the previous
    // packet), then sends the next packet; with nothing left it finishes.
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;
    // Lets what the sampler still sends pass, then sends CANCEL.
    void AbortTransmission() override;
    // The sampler's answer to the header: anything but ACK is XSDSUnexpectedSysex.
    virtual void WaitForHeaderAck();

    uint8_t Channel() const { return channel_; }
    uint8_t Format() const { return format_; }

protected:
    // ACK (true) or NAK (false), with the packet number it names.
    bool ReceiveHandshake(uint8_t& packetNumber);
    CSysexConnection& Connection() { return connection_; }
    // For brands whose sampler picks the number only once the header is due.
    void SetSampleNumber(uint16_t sampleNumber) { sampleNumber_ = sampleNumber; }

private:
    void AwaitPacketAck();

    uint8_t channel_;
    uint16_t sampleNumber_;
    uint8_t packetNumber_ = 0;
    CSysexConnection connection_;
    uint32_t replyTimeoutMs_;
    uint8_t format_ = 16;
    bool headerAcknowledged_ = false;
    std::unique_ptr<CRawSysex> lastPacket_;
};

} // namespace quorvel
