#pragma once
// AKAI messages inside vendor SCSI commands, for the models that take them
// over SCSI: a message goes out with "send exclusive"; what the sampler has
// to say is collected by asking how many bytes wait and reading them into a
// ring, from which whole messages are cut. Before every command the
// sampler must report ready.
#include <cstdint>
#include <vector>

#include "devices/midi/SysexMIDIInput.h"
#include "devices/scsi/SCSIBus.h"
#include "samplers/akai/AKAICom.h"

namespace quorvel {

namespace akai {
constexpr uint8_t kSCSISetMode = 0x09;
constexpr uint8_t kSCSISendExclusive = 0x0C;
constexpr uint8_t kSCSIWaitingCount = 0x0D;
constexpr uint8_t kSCSIReadWaiting = 0x0E;
constexpr uint32_t kSCSIReadyPollMs = 100;
constexpr uint32_t kSCSIReadyTimeoutMs = 1000;
constexpr uint32_t kSCSIReadRetryMs = 250;
// How often the waiting count is asked while an answer is awaited.
constexpr uint32_t kSCSIAnswerPollMs = 10;
// Sample words per packet over SCSI (two bytes each).
constexpr uint32_t kSCSIPacketWords = 8192;
} // namespace akai

class CAKAISCSICom final : public CABCAKAICom {
public:
    CAKAISCSICom(const SCSIDevice& device, uint8_t channel);

    // XAKAISCSITimedOut when the sampler is not ready within 1000 ms;
    // XAKAISCSICommunicationException when it refuses the message.
    void Send(const CRawSysex& message) override;
    // Forgets the collected bytes.
    void Flush() override;
    // The next whole message; XSysexTimedOut when none came within 1000 ms.
    std::unique_ptr<CRawSysex> ReceiveOne() override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(const akai::SAKAITransferContext& context,
                                                       uint16_t sampleNumber) override;
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(const akai::SAKAITransferContext& context) override;
    // XAKAISCSINoUnreadData: the sampler had nothing to say.
    void OnTimeout() override;

    // The bytes the sampler holds for the host.
    uint32_t WaitingCount();
    // Raw bytes (sample words) out with "send exclusive".
    void SendData(const uint8_t* bytes, uint32_t count);
    // Exactly `count` raw bytes the sampler has for the host, collected
    // within `timeoutMs` of the last byte that came: XAKAISCSINoUnreadData
    // when they stop coming. When the sampler answers with an AKAI reply
    // instead, XAKAIReceivedError (or XAKAIUnexpectedCommand for a reply
    // of 0). Anything already cut into messages is forgotten.
    std::vector<uint8_t> ReceiveData(uint32_t count, uint32_t timeoutMs);

private:
    void WaitUntilReady();
    // Reads `count` waiting bytes into the ring, once more after 250 ms when
    // the first read fails.
    void ReadWaiting(uint32_t count);
    std::vector<uint8_t> ReadRaw(uint32_t count);

    SCSIDevice device_;
    CSysexMIDIInput ring_;
};

} // namespace quorvel
