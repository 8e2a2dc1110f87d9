#pragma once
// Puts an emulated sampler on a JACK server: an input port "in" whose bytes
// go into the wire the emulator listens to, and an output port "out" that
// carries what the emulator writes. To the emulator the bridge is the
// program at the far end of its Loopback ports.
#include <atomic>
#include <memory>

#include "devices/midi/LoopbackMIDI.h"

namespace quorvel {

class CJackMIDIClient;
class CJackMIDIReceiver;
class CJackMIDISender;

class CEmulatorJackBridge {
public:
    // `toEmulator` is the wire the emulator listens to, `fromEmulator` the one
    // it writes into. XJackUnavailable when the server refuses the ports.
    CEmulatorJackBridge(CJackMIDIClient& client, std::shared_ptr<CLoopbackMIDIWire> toEmulator,
                        std::shared_ptr<CLoopbackMIDIWire> fromEmulator);
    ~CEmulatorJackBridge();
    CEmulatorJackBridge(const CEmulatorJackBridge&) = delete;
    CEmulatorJackBridge& operator=(const CEmulatorJackBridge&) = delete;

    // "client:in" and "client:out".
    std::string InputName() const;
    std::string OutputName() const;

private:
    // The wire's thread: waits for room in the port's ring, as a cable makes
    // a sender wait; gives up once the server or the bridge is gone.
    void Forward(const uint8_t* data, size_t length);

    CJackMIDIClient& client_;
    std::shared_ptr<CLoopbackMIDIWire> toEmulator_;
    std::shared_ptr<CLoopbackMIDIWire> fromEmulator_;
    CJackMIDIReceiver* input_ = nullptr;
    CJackMIDISender* output_ = nullptr;
    std::atomic<bool> stopping_{false};
};

} // namespace quorvel
