#include "devices/midi/LoopbackMIDI.h"

#include <chrono>
#include <cstdlib>
#include <vector>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"

namespace quorvel {

namespace {

// The most a wire hands over in one delivery.
constexpr size_t kDeliveryLimit = 4096;

} // namespace

uint32_t CLoopbackMIDIWire::BaudFromEnvironment()
{
    const char* text = std::getenv("QUORVEL_MIDI_BAUD");
    if (!text || !*text)
        return 0;
    char* end = nullptr;
    const long baud = std::strtol(text, &end, 10);
    return *end == '\0' && baud > 0 && baud <= 100000000 ? static_cast<uint32_t>(baud) : 0;
}

CLoopbackMIDIWire::CLoopbackMIDIWire(uint32_t baud) : baud_(baud), thread_([this] { Run(); }) {}

CLoopbackMIDIWire::~CLoopbackMIDIWire()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

uint64_t CLoopbackMIDIWire::Write(const uint8_t* data, size_t length)
{
    uint64_t written;
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty())
            startedAt_ = std::chrono::steady_clock::now();
        queue_.insert(queue_.end(), data, data + length);
        written_ += length;
        written = written_;
    }
    wake_.notify_all();
    return written;
}

bool CLoopbackMIDIWire::Attach(Listener listener)
{
    std::lock_guard lock(listenerMutex_);
    if (listener_)
        return false;
    listener_ = std::move(listener);
    return true;
}

void CLoopbackMIDIWire::Detach()
{
    std::lock_guard lock(listenerMutex_);
    listener_ = nullptr;
}

void CLoopbackMIDIWire::Run()
{
    using Clock = std::chrono::steady_clock;
    const auto byteTime = baud_ ? std::chrono::nanoseconds(10'000'000'000LL / baud_) : std::chrono::nanoseconds(0);
    // When the next byte has finished crossing a paced wire.
    Clock::time_point nextDue{};
    std::vector<uint8_t> batch;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            size_t count = std::min(queue_.size(), kDeliveryLimit);
            if (baud_) {
                // A byte starts crossing when the one before it has arrived,
                // or when it was written to an idle wire; lateness of this
                // thread never stretches the cable's time.
                if (nextDue < startedAt_ + byteTime)
                    nextDue = startedAt_ + byteTime;
                if (nextDue > Clock::now()) {
                    lock.unlock();
                    std::this_thread::sleep_until(nextDue);
                    lock.lock();
                    if (stopping_)
                        return;
                }
                // Every byte whose time has come leaves now.
                const auto late = Clock::now() - nextDue;
                const size_t due = 1 + static_cast<size_t>(late / byteTime);
                count = std::min({queue_.size(), kDeliveryLimit, due});
                nextDue += byteTime * static_cast<int64_t>(count);
            }
            batch.assign(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
            queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
        }
        {
            std::lock_guard lock(listenerMutex_);
            if (listener_)
                listener_(batch.data(), batch.size());
        }
        delivered_.fetch_add(batch.size(), std::memory_order_release);
        // An output waiting for these bytes to leave can go on.
        SignalMIDIActivity();
    }
}

CRegisteredLoopbackMIDIInput::CRegisteredLoopbackMIDIInput(const std::string& name,
                                                           std::shared_ptr<CLoopbackMIDIWire> wire)
    : CRegisteredMIDIInput(name, kDriverKind), wire_(std::move(wire))
{
}

std::unique_ptr<CMIDIInput> CRegisteredLoopbackMIDIInput::Open(CMIDIInputParser& parser) const
{
    return std::make_unique<CLoopbackMIDIInput>(*this, parser, wire_);
}

CRegisteredLoopbackMIDIOutput::CRegisteredLoopbackMIDIOutput(const std::string& name,
                                                             std::shared_ptr<CLoopbackMIDIWire> wire)
    : CRegisteredMIDIOutput(name, kDriverKind), wire_(std::move(wire))
{
}

std::unique_ptr<CMIDIOutput> CRegisteredLoopbackMIDIOutput::Open() const
{
    return std::make_unique<CLoopbackMIDIOutput>(*this, wire_);
}

CLoopbackMIDIInput::CLoopbackMIDIInput(const CRegisteredMIDIInput& port, CMIDIInputParser& parser,
                                       std::shared_ptr<CLoopbackMIDIWire> wire)
    : CByteStreamMIDIInput(port, parser), wire_(std::move(wire))
{
    if (!wire_->Attach([this](const uint8_t* data, size_t length) { DeliverBytes(data, length); }))
        throw XFailedOpeningMIDIPort();
    StartDelivery();
}

CLoopbackMIDIInput::~CLoopbackMIDIInput()
{
    StopDelivery();
    wire_->Detach();
}

CLoopbackMIDIOutput::CLoopbackMIDIOutput(const CRegisteredMIDIOutput& port, std::shared_ptr<CLoopbackMIDIWire> wire)
    : CMIDIOutput(port), wire_(std::move(wire))
{
}

void CLoopbackMIDIOutput::StartChunk(const uint8_t* data, int32_t length)
{
    awaited_ = wire_->Write(data, static_cast<size_t>(length));
}

bool CLoopbackMIDIOutput::ChunkDone() { return wire_->Delivered() >= awaited_; }

int32_t CLoopbackMIDIOutput::WriteShort(const uint8_t* data, int32_t length)
{
    wire_->Write(data, static_cast<size_t>(length));
    return 0;
}

SLoopbackMIDIDevice AddLoopbackMIDIPorts(CMIDIPortLists& lists, const std::string& name, uint32_t baud)
{
    SLoopbackMIDIDevice device{std::make_shared<CLoopbackMIDIWire>(baud), std::make_shared<CLoopbackMIDIWire>(baud)};
    lists.inputs.push_back(std::make_unique<CRegisteredLoopbackMIDIInput>(name, device.toProgram));
    lists.outputs.push_back(std::make_unique<CRegisteredLoopbackMIDIOutput>(name, device.fromProgram));
    return device;
}

} // namespace quorvel
