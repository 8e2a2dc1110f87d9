#pragma once
// Receives one sample with the MIDI sample dump: request, header, then one
// verified data packet at a time, each acknowledged before the next comes. A
// packet that arrives damaged, misnumbered or not at all is NAKed once.
#include <array>
#include <cstdint>

#include "devices/midi/SysexConnection.h"
#include "samplers/SampleReceiver.h"

namespace quorvel {

class CMIDIOutput;
class CSysexMIDIInput;

class CSDSReceiver : public CABCSampleReceiver {
public:
    CSDSReceiver(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel, uint16_t sampleNumber,
                 uint32_t replyTimeoutMs);
    CSDSReceiver(const CSysexConnection& connection, uint16_t sampleNumber, uint32_t replyTimeoutMs);
    ~CSDSReceiver() override;

    // XSDSUnexpectedSysex when the answer is not a dump header, or announces
    // words of more than 28 bits.
    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;
    SSampleWords ReceiveChunk(uint32_t frames) override;
    void AbortReception() override;

    uint32_t Format() const { return format_; }

protected:
    // Asks for the dump (input flushed first). Brands that start the dump
    // with a message of their own replace it.
    virtual void RequestDump();
    CSysexConnection& Connection() { return connection_; }
    uint8_t Channel() const { return channel_; }

private:
    // The expected packet, verified.
    std::unique_ptr<CRawSysex> TakePacket();

    uint8_t channel_;
    uint16_t sampleNumber_;
    uint8_t expectedPacket_ = 0;
    CSysexConnection connection_;
    uint32_t replyTimeoutMs_;
    uint32_t format_ = 16;
    std::array<int16_t, 60> narrow_{};
    std::array<int32_t, 40> wide_{};
};

} // namespace quorvel
