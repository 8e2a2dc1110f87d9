#pragma once
// The two halves of a JACK MIDI port that cross between the server's
// process callback and the rest of the process, each through a lock-free
// ring: a receiver copies the port's events into its ring for a delivery
// thread to hand on; a sender turns the bytes queued in its ring into the
// port's events. Process() runs in the callback and never blocks or
// allocates.
#include <atomic>
#include <cstdint>
#include <functional>

#include <jack/ringbuffer.h>
#include <jack/types.h>

namespace quorvel {

class CJackMIDIReceiver {
public:
    using Listener = std::function<void(const uint8_t* data, size_t length)>;

    // Takes the registered port; the listener receives the bytes on the
    // client's delivery thread.
    CJackMIDIReceiver(jack_port_t* port, size_t capacity, Listener listener);
    ~CJackMIDIReceiver();
    CJackMIDIReceiver(const CJackMIDIReceiver&) = delete;
    CJackMIDIReceiver& operator=(const CJackMIDIReceiver&) = delete;

    jack_port_t* Port() const { return port_; }

    // Process callback: true when events came in.
    bool Process(jack_nframes_t frames);
    // Delivery thread: hands everything in the ring to the listener.
    void Deliver();

private:
    jack_port_t* port_;
    jack_ringbuffer_t* ring_;
    Listener listener_;
    // After an event found no room: later ones are dropped too until a
    // message starts, so that the stream is cut rather than spliced.
    bool dropping_ = false;
};

class CJackMIDISender {
public:
    CJackMIDISender(jack_port_t* port, size_t capacity);
    ~CJackMIDISender();
    CJackMIDISender(const CJackMIDISender&) = delete;
    CJackMIDISender& operator=(const CJackMIDISender&) = delete;

    jack_port_t* Port() const { return port_; }

    // One thread at a time: queues what fits and returns how much did.
    size_t Queue(const uint8_t* data, size_t length);
    // How much Queue takes now.
    size_t Room() const { return jack_ringbuffer_write_space(ring_); }
    // Bytes queued so far, and bytes the callback has put in the port's
    // buffer (or thrown away as malformed) so far: the second reaches the
    // first once everything queued has left.
    uint64_t Queued() const { return queued_.load(std::memory_order_acquire); }
    uint64_t Sent() const { return sent_.load(std::memory_order_acquire); }

    // Process callback: true when bytes left.
    bool Process(jack_nframes_t frames);

private:
    uint8_t At(size_t index) const;
    void Consume(size_t count);
    bool WriteEvent(void* buffer, const uint8_t* data, size_t length);
    // Cuts the sysex at the read position into one event; false when it has
    // to wait for the next cycle.
    bool WriteSysex(void* buffer, size_t available, size_t fullRoom);
    // Takes one byte of a short message; false when it has to wait.
    bool TakeShortByte(void* buffer, uint8_t byte);

    jack_port_t* port_;
    jack_ringbuffer_t* ring_;
    std::atomic<uint64_t> queued_{0};
    std::atomic<uint64_t> sent_{0};

    // Callback only: the stream's state across events and cycles.
    bool inSysex_ = false;
    uint8_t runningStatus_ = 0;
    uint8_t message_[3] = {0, 0, 0};
    int have_ = 0;
    int needed_ = 0;
    uint64_t consumed_ = 0;
};

} // namespace quorvel
