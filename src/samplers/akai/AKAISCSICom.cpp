#include "samplers/akai/AKAISCSICom.h"

#include <chrono>
#include <vector>

#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIClock.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "samplers/akai/AKAIExceptions.h"

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

void CAKAISCSICom::ReadWaiting(uint32_t count)
{
    std::vector<uint8_t> bytes(count);
    const auto block = Block(kSCSIReadWaiting, count);
    for (int attempt = 0;; ++attempt) {
        WaitUntilReady();
        if (device_.bus->ExecuteIn(device_, block.data(), bytes.size(), bytes.data()).Good())
            break;
        if (attempt > 0)
            throw XAKAISCSICommunicationException();
        Pause(kSCSIReadRetryMs);
    }
    ring_.OnLongDataNow(nullptr, 0, bytes.data(), static_cast<int32_t>(bytes.size()));
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

std::unique_ptr<CABCSampleReceiver> CAKAISCSICom::CreateReceiver(const SAKAITransferContext&, uint16_t)
{
    return nullptr;
}

std::unique_ptr<CABCSampleTransmitter> CAKAISCSICom::CreateTransmitter(const SAKAITransferContext&)
{
    return nullptr;
}

void CAKAISCSICom::OnTimeout() { throw XAKAISCSINoUnreadData(); }

} // namespace quorvel
