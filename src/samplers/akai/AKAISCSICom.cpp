#include "samplers/akai/AKAISCSICom.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIClock.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/akai/AKAISCSITransfer.h"

namespace quorvel {

using namespace akai;

namespace {

// A six-byte vendor command with a 24-bit count in bytes 2 to 4.
std::array<uint8_t, 6> Block(uint8_t operation, uint32_t count)
{
    return {operation, 0, static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 8),
            static_cast<uint8_t>(count), 0};
}

void Pause(uint32_t ms) { SCSIClock().Sleep(std::chrono::milliseconds(ms)); }

} // namespace

CAKAISCSICom::CAKAISCSICom(const SCSIDevice& device, uint8_t channel) : CABCAKAICom(channel), device_(device) {}

void CAKAISCSICom::WaitUntilReady()
{
    const uint64_t deadline = SCSIClock().Milliseconds() + kSCSIReadyTimeoutMs;
    const std::array<uint8_t, 6> testUnitReady{kSCSITestUnitReady, 0, 0, 0, 0, 0};
    for (;;) {
        if (device_.bus->ExecuteNoData(device_, testUnitReady.data()).Good())
            return;
        if (SCSIClock().Milliseconds() >= deadline)
            throw XAKAISCSITimedOut();
        Pause(kSCSIReadyPollMs);
    }
}

void CAKAISCSICom::Send(const CRawSysex& message)
{
    WaitUntilReady();
    const auto block = Block(kSCSISendExclusive, static_cast<uint32_t>(message.GetLength()));
    if (!device_.bus
             ->ExecuteOut(device_, block.data(), static_cast<size_t>(message.GetLength()), message.GetData())
             .Good())
        throw XAKAISCSICommunicationException();
}

void CAKAISCSICom::Flush() { ring_.Flush(); }

uint32_t CAKAISCSICom::WaitingCount()
{
    WaitUntilReady();
    const auto block = Block(kSCSIWaitingCount, 3);
    uint8_t count[3] = {};
    if (!device_.bus->ExecuteIn(device_, block.data(), sizeof count, count).Good())
        throw XAKAISCSICommunicationException();
    return uint32_t{count[0]} << 16 | uint32_t{count[1]} << 8 | count[2];
}

std::vector<uint8_t> CAKAISCSICom::ReadRaw(uint32_t count)
{
    std::vector<uint8_t> bytes(count);
    const auto block = Block(kSCSIReadWaiting, count);
    for (int attempt = 0;; ++attempt) {
        WaitUntilReady();
        if (device_.bus->ExecuteIn(device_, block.data(), bytes.size(), bytes.data()).Good())
            return bytes;
        if (attempt > 0)
            throw XAKAISCSICommunicationException();
        Pause(kSCSIReadRetryMs);
    }
}

void CAKAISCSICom::ReadWaiting(uint32_t count)
{
    std::vector<uint8_t> bytes = ReadRaw(count);
    ring_.OnLongDataNow(nullptr, 0, bytes.data(), static_cast<int32_t>(bytes.size()));
}

void CAKAISCSICom::SendData(const uint8_t* bytes, uint32_t count)
{
    WaitUntilReady();
    const auto block = Block(kSCSISendExclusive, count);
    if (!device_.bus->ExecuteOut(device_, block.data(), count, bytes).Good())
        throw XAKAISCSICommunicationException();
}

std::vector<uint8_t> CAKAISCSICom::ReceiveData(uint32_t count, uint32_t timeoutMs)
{
    ring_.Flush();
    std::vector<uint8_t> data;
    data.reserve(count);
    uint64_t deadline = SCSIClock().Milliseconds() + timeoutMs;
    while (data.size() < count) {
        const uint32_t waiting = std::min<uint32_t>(WaitingCount(), count - static_cast<uint32_t>(data.size()));
        if (waiting == 0) {
            if (SCSIClock().Milliseconds() >= deadline)
                throw XAKAISCSINoUnreadData();
            Pause(kSCSIAnswerPollMs);
            continue;
        }
        const std::vector<uint8_t> bytes = ReadRaw(waiting);
        // Words come in even counts; a first answer of exactly one reply
        // is the sampler refusing the request.
        if (data.empty() && bytes.size() == static_cast<size_t>(kReplyLength) && bytes[0] == 0xF0 && bytes[1] == kManufacturer &&
            bytes[3] == kReply && bytes[4] == kModel && bytes[6] == 0xF7) {
            if (bytes[5] != 0)
                throw XAKAIReceivedError();
            throw XAKAIUnexpectedCommand();
        }
        data.insert(data.end(), bytes.begin(), bytes.end());
        deadline = SCSIClock().Milliseconds() + timeoutMs;
    }
    return data;
}

std::unique_ptr<CRawSysex> CAKAISCSICom::ReceiveOne()
{
    const uint64_t deadline = SCSIClock().Milliseconds() + kReplyTimeoutMs;
    for (;;) {
        if (std::unique_ptr<CRawSysex> message = ring_.NextSysex())
            return message;
        if (const uint32_t waiting = WaitingCount(); waiting > 0) {
            ReadWaiting(waiting);
            continue;
        }
        if (SCSIClock().Milliseconds() >= deadline)
            throw XSysexTimedOut();
        Pause(kSCSIAnswerPollMs);
    }
}

std::unique_ptr<CABCSampleReceiver> CAKAISCSICom::CreateReceiver(const SAKAITransferContext& context,
                                                                 uint16_t sampleNumber)
{
    return std::make_unique<CAKAISampleReceiverSCSI>(context, *this, sampleNumber);
}

std::unique_ptr<CABCSampleTransmitter> CAKAISCSICom::CreateTransmitter(const SAKAITransferContext& context)
{
    return std::make_unique<CAKAISampleTransmitterSCSI>(context, *this);
}

void CAKAISCSICom::OnTimeout() { throw XAKAISCSINoUnreadData(); }

} // namespace quorvel
