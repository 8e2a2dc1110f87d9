#pragma once
// Loopback MIDI: in-process cables. A wire carries bytes one way on a
// thread of its own, so the far end meets them as it would meet a hardware
// port's driver thread. With QUORVEL_MIDI_BAUD set, the wire paces bytes at
// that rate (ten bits per byte) as a MIDI cable would; unset, they pass at
// once.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "devices/midi/ByteStreamMIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

class CLoopbackMIDIWire {
public:
    using Listener = std::function<void(const uint8_t* data, size_t length)>;

    // `baud` 0 passes bytes at once.
    explicit CLoopbackMIDIWire(uint32_t baud = BaudFromEnvironment());
    ~CLoopbackMIDIWire();
    CLoopbackMIDIWire(const CLoopbackMIDIWire&) = delete;
    CLoopbackMIDIWire& operator=(const CLoopbackMIDIWire&) = delete;

    // Any thread. Returns the count of bytes written so far, which
    // Delivered() reaches once these bytes have left the far end.
    uint64_t Write(const uint8_t* data, size_t length);
    uint64_t Delivered() const { return delivered_.load(std::memory_order_acquire); }

    // The far end. One listener at a time: false when one is attached.
    // Bytes that arrive with no listener are lost, as on an unplugged cable.
    bool Attach(Listener listener);
    // Returns once no delivery to the listener is in progress.
    void Detach();

    uint32_t Baud() const { return baud_; }
    // QUORVEL_MIDI_BAUD, or 0 when unset or not a positive number.
    static uint32_t BaudFromEnvironment();

private:
    void Run();

    const uint32_t baud_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<uint8_t> queue_;
    // When bytes were last written to an empty wire: the first of them starts
    // crossing then, however late the wire's thread wakes.
    std::chrono::steady_clock::time_point startedAt_{};
    uint64_t written_ = 0;
    bool stopping_ = false;
    std::atomic<uint64_t> delivered_{0};
    std::mutex listenerMutex_;
    Listener listener_;
    std::thread thread_;
};

class CRegisteredLoopbackMIDIInput : public CRegisteredMIDIInput {
public:
    static constexpr const char* kDriverKind = "Loopback";
    CRegisteredLoopbackMIDIInput(const std::string& name, std::shared_ptr<CLoopbackMIDIWire> wire);
    // XFailedOpeningMIDIPort when the port is open already.
    std::unique_ptr<CMIDIInput> Open(CMIDIInputParser& parser) const override;
    // The wire that feeds this input, for a bridge that stands in for the
    // program.
    const std::shared_ptr<CLoopbackMIDIWire>& Wire() const { return wire_; }

private:
    std::shared_ptr<CLoopbackMIDIWire> wire_;
};

class CRegisteredLoopbackMIDIOutput : public CRegisteredMIDIOutput {
public:
    static constexpr const char* kDriverKind = "Loopback";
    CRegisteredLoopbackMIDIOutput(const std::string& name, std::shared_ptr<CLoopbackMIDIWire> wire);
    std::unique_ptr<CMIDIOutput> Open() const override;
    // The wire this output writes into.
    const std::shared_ptr<CLoopbackMIDIWire>& Wire() const { return wire_; }

private:
    std::shared_ptr<CLoopbackMIDIWire> wire_;
};

class CLoopbackMIDIInput : public CByteStreamMIDIInput {
public:
    CLoopbackMIDIInput(const CRegisteredMIDIInput& port, CMIDIInputParser& parser,
                       std::shared_ptr<CLoopbackMIDIWire> wire);
    ~CLoopbackMIDIInput() override;

private:
    std::shared_ptr<CLoopbackMIDIWire> wire_;
};

class CLoopbackMIDIOutput : public CMIDIOutput {
public:
    CLoopbackMIDIOutput(const CRegisteredMIDIOutput& port, std::shared_ptr<CLoopbackMIDIWire> wire);

protected:
    void StartChunk(const uint8_t* data, int32_t length) override;
    bool ChunkDone() override;
    int32_t WriteShort(const uint8_t* data, int32_t length) override;

private:
    std::shared_ptr<CLoopbackMIDIWire> wire_;
    uint64_t awaited_ = 0;
};

// The device's side of a Loopback port pair: it writes what the program's
// input receives, and listens to what the program's output sends.
struct SLoopbackMIDIDevice {
    std::shared_ptr<CLoopbackMIDIWire> toProgram;
    std::shared_ptr<CLoopbackMIDIWire> fromProgram;
};

// Appends a Loopback input and output both named `name` and returns the
// device's side of them.
SLoopbackMIDIDevice AddLoopbackMIDIPorts(CMIDIPortLists& lists, const std::string& name,
                                         uint32_t baud = CLoopbackMIDIWire::BaudFromEnvironment());

} // namespace quorvel
