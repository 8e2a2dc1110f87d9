#pragma once
// A client of a JACK server (jackd, or PipeWire's JACK): the sound-card
// family and the MIDI driver of that name each open one. A client never
// starts a server: without one running, there are simply no JACK devices.
// The server going away is noticed and kept, so that the owner can fail in
// an orderly way instead of calling into a dead connection.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "framework/XBase.h"

typedef struct _jack_client jack_client_t;

namespace quorvel {

// No server answers, or it refused a request (a port, activation).
QUORVEL_EXCEPTION(XJackUnavailable, XBase);

class CJackClient {
public:
    // Opens a client named after `name` (the server may add a number when
    // the name is taken). XJackUnavailable when no server answers.
    explicit CJackClient(const std::string& name);
    // Closes the client; its ports go with it.
    ~CJackClient();
    CJackClient(const CJackClient&) = delete;
    CJackClient& operator=(const CJackClient&) = delete;

    jack_client_t* Handle() const { return client_; }
    // The name the server granted.
    std::string Name() const;
    uint32_t SampleRate() const;
    uint32_t BufferSize() const;

    // Set before Activate. Runs on a thread of the server's library when the
    // server shuts down or drops the client; it must not block.
    void OnServerGone(std::function<void()> handler) { onGone_ = std::move(handler); }
    // Starts the process callback the owner installed. XJackUnavailable when
    // the server refuses.
    void Activate();
    // True once the server has gone away; the client is then of no more use.
    bool ServerGone() const { return gone_.load(std::memory_order_acquire); }

private:
    static void Shutdown(void* self);

    jack_client_t* client_ = nullptr;
    std::function<void()> onGone_;
    std::atomic<bool> gone_{false};
    bool active_ = false;
};

// True when a JACK server answers a client now.
bool JackServerAnswers();

} // namespace quorvel
