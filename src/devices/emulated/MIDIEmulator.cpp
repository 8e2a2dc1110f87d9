#include "devices/emulated/MIDIEmulator.h"

namespace quorvel {

namespace {

// A message longer than this is not one a sampler takes; it is dropped.
// Some samplers take a whole sample as one message (two or four bytes a
// word), so the limit sits well above any sample a loop slice makes.
constexpr size_t kLongestMessage = size_t{1} << 27;

} // namespace

CABCMIDIEmulator::CABCMIDIEmulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock)
    : ends_(std::move(ends)), clock_(clock)
{
}

CABCMIDIEmulator::~CABCMIDIEmulator() { Stop(); }

void CABCMIDIEmulator::Start()
{
    attached_ = ends_.fromProgram->Attach([this](const uint8_t* data, size_t length) {
        {
            std::lock_guard lock(mutex_);
            inbox_.insert(inbox_.end(), data, data + length);
        }
        wake_.notify_all();
    });
    thread_ = std::thread([this] { Run(); });
}

void CABCMIDIEmulator::Stop()
{
    if (attached_) {
        ends_.fromProgram->Detach();
        attached_ = false;
    }
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void CABCMIDIEmulator::Send(const std::vector<uint8_t>& message)
{
    // Counted first, so that the count is never behind what has arrived.
    sent_.fetch_add(message.size(), std::memory_order_release);
    ends_.toProgram->Write(message.data(), message.size());
}

void CABCMIDIEmulator::Run()
{
    std::vector<uint8_t> bytes;
    for (;;) {
        bool alarm = false;
        {
            std::unique_lock lock(mutex_);
            for (;;) {
                if (stopping_)
                    return;
                if (!inbox_.empty()) {
                    bytes.swap(inbox_);
                    break;
                }
                if (alarm_ != 0 && clock_.Milliseconds() >= alarm_) {
                    alarm = true;
                    break;
                }
                if (alarm_ != 0)
                    clock_.WaitUntil(lock, wake_, alarm_);
                else
                    wake_.wait(lock);
            }
        }
        if (alarm) {
            alarm_ = 0;
            OnAlarm();
            continue;
        }
        for (uint8_t byte : bytes) {
            Frame(byte);
            taken_.fetch_add(1, std::memory_order_release);
        }
        bytes.clear();
    }
}

void CABCMIDIEmulator::Frame(uint8_t byte)
{
    if (byte >= 0xF8)
        return; // real-time bytes may fall anywhere, even inside a message
    if (byte == 0xF0) {
        message_.assign(1, byte);
        inMessage_ = true;
        return;
    }
    if (!inMessage_)
        return;
    if (byte == 0xF7) {
        message_.push_back(byte);
        inMessage_ = false;
        OnMessage(message_);
        return;
    }
    if (byte & 0x80 || message_.size() >= kLongestMessage) {
        // Any other status byte ends the message unfinished.
        inMessage_ = false;
        return;
    }
    message_.push_back(byte);
}

} // namespace quorvel
