#pragma once
// The frame of every emulated sampler reached over MIDI: it sits on the far
// side of a Loopback port pair, cuts the bytes the program sends into
// system-exclusive messages and handles them on a thread of its own, and
// writes its answers into the wire that feeds the program's input, the path
// a hardware port's bytes take.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/midi/LoopbackMIDI.h"

namespace quorvel {

class CABCMIDIEmulator {
public:
    virtual ~CABCMIDIEmulator();
    CABCMIDIEmulator(const CABCMIDIEmulator&) = delete;
    CABCMIDIEmulator& operator=(const CABCMIDIEmulator&) = delete;

    // Counters any thread may read, so that a caller can tell when the
    // emulator has dealt with what it was sent.
    uint64_t BytesTaken() const { return taken_.load(std::memory_order_acquire); }
    uint64_t BytesSent() const { return sent_.load(std::memory_order_acquire); }

protected:
    CABCMIDIEmulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock);

    // The derived constructor calls Start last and the derived destructor
    // calls Stop first, so that the thread never meets a half-built object.
    void Start();
    void Stop();

    // Emulator thread: a complete message, F0 to F7.
    virtual void OnMessage(const std::vector<uint8_t>& message) = 0;
    // Emulator thread: the alarm time has come.
    virtual void OnAlarm() {}

    // Emulator thread.
    void Send(const std::vector<uint8_t>& message);
    // At `time` of the clock OnAlarm runs, unless messages are waiting: they
    // come first. One alarm at a time; 0 clears it.
    void SetAlarm(uint64_t time) { alarm_ = time; }
    CABCEmulatorClock& Clock() const { return clock_; }

private:
    void Run();
    void Frame(uint8_t byte);

    SLoopbackMIDIDevice ends_;
    CABCEmulatorClock& clock_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<uint8_t> inbox_;
    bool stopping_ = false;
    bool attached_ = false;
    std::thread thread_;
    // Emulator thread only.
    uint64_t alarm_ = 0;
    std::vector<uint8_t> message_;
    bool inMessage_ = false;
    std::atomic<uint64_t> taken_{0};
    std::atomic<uint64_t> sent_{0};
};

} // namespace quorvel
