#pragma once
// How AKAI messages reach the sampler: over MIDI directly, or (for the SCSI
// models) inside vendor SCSI commands. Both offer the same message
// operations, and the reply wait that honours the sampler's WAITs.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "devices/midi/RawSysex.h"
#include "devices/midi/SysexConnection.h"
#include "samplers/SampleReceiver.h"
#include "samplers/SampleTransmitter.h"
#include "samplers/akai/AKAISampleHeader.h"

namespace quorvel {

class CABCAKAICom;
class CMIDIOutput;
class CSysexMIDIInput;

namespace akai {

// How long the sampler has to answer a command.
constexpr uint32_t kReplyTimeoutMs = 1000;
// What one WAIT of the sample dump adds to that.
constexpr uint32_t kWaitExtensionMs = 10000;
// The sample dump's reply time-out for AKAI transfers.
constexpr uint32_t kDumpTimeoutMs = 5000;
// The pause after an aborted transfer, so that the sampler settles.
constexpr uint32_t kAbortPauseMs = 500;

// What a transmitter or receiver asks of the interface that made it.
struct SAKAITransferContext {
    CABCAKAICom& com;
    EGeneration generation;
    // The sampler's sample names, in sample-number order.
    std::function<std::vector<std::string>()> sampleNames;
    // The header of one sample.
    std::function<std::unique_ptr<CABCAKAISampleHeader>(uint16_t)> sampleHeader;
};

} // namespace akai

class CABCAKAICom {
public:
    explicit CABCAKAICom(uint8_t channel) : channel_(channel) {}
    virtual ~CABCAKAICom() = default;
    CABCAKAICom(const CABCAKAICom&) = delete;
    CABCAKAICom& operator=(const CABCAKAICom&) = delete;

    virtual void Send(const CRawSysex& message) = 0;
    // Forgets whatever arrived and was not read yet.
    virtual void Flush() = 0;
    // The next message, or XSysexTimedOut after the transport's own wait.
    virtual std::unique_ptr<CRawSysex> ReceiveOne() = 0;
    virtual std::unique_ptr<CABCSampleReceiver> CreateReceiver(const akai::SAKAITransferContext& context,
                                                               uint16_t sampleNumber) = 0;
    virtual std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(const akai::SAKAITransferContext& context) = 0;
    // Called when a reply wait runs out; throws.
    virtual void OnTimeout() = 0;

    uint8_t Channel() const { return channel_; }

    // The sampler's answer: an AKAI message on this channel, or a sample
    // dump handshake other than WAIT from this channel. Each WAIT moves the
    // deadline 10 s on. OnTimeout at the deadline.
    std::unique_ptr<CRawSysex> WaitForReply(uint32_t timeoutMs = akai::kReplyTimeoutMs);
    // Flushes, sends and waits for the answer.
    std::unique_ptr<CRawSysex> Request(const CRawSysex& message, uint32_t timeoutMs = akai::kReplyTimeoutMs);
    // Sends a command the sampler answers with a reply: XAKAIReceivedError
    // for a non-zero result, XAKAIUnexpectedCommand for another answer.
    void Command(const CRawSysex& message);

private:
    uint8_t channel_;
};

class CAKAIMIDICom final : public CABCAKAICom {
public:
    CAKAIMIDICom(CMIDIOutput& output, CSysexMIDIInput& input, uint8_t channel);

    void Send(const CRawSysex& message) override;
    void Flush() override;
    // Waits 1000 ms.
    std::unique_ptr<CRawSysex> ReceiveOne() override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(const akai::SAKAITransferContext& context,
                                                       uint16_t sampleNumber) override;
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(const akai::SAKAITransferContext& context) override;
    // XSysexTimedOut.
    void OnTimeout() override;

    CSysexConnection& Connection() { return connection_; }

private:
    CSysexConnection connection_;
};

} // namespace quorvel
