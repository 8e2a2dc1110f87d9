#pragma once
// A JACK client that carries MIDI: it registers input and output ports on
// demand, moves their events in the process callback and hands what came in
// to each input's listener on a delivery thread of its own. The program's
// open JACK ports share one such client; the emulator process has its own.
//
// The callback sees the ports through a list that is swapped whole and
// retired only once the callback cannot be reading it any more, so that it
// never waits for a lock.
#include <semaphore.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devices/midi/JackMIDIStreams.h"
#include "framework/JackClient.h"

namespace quorvel {

class CJackMIDIClient {
public:
    // Room for the biggest dumps in flight between two deliveries.
    static constexpr size_t kInputRing = size_t{1} << 20;
    // A few of the output's 2048-byte pieces and the short messages between them.
    static constexpr size_t kOutputRing = size_t{1} << 16;

    // Opens and activates the client. XJackUnavailable without a server.
    explicit CJackMIDIClient(const std::string& name);
    ~CJackMIDIClient();
    CJackMIDIClient(const CJackMIDIClient&) = delete;
    CJackMIDIClient& operator=(const CJackMIDIClient&) = delete;

    // The name the server granted.
    std::string Name() const { return client_->Name(); }
    bool ServerGone() const { return client_->ServerGone(); }
    // True once the server has gone and everything it delivered before has
    // reached the inputs' listeners: nothing more will come.
    bool Drained() const { return drained_.load(std::memory_order_acquire); }
    jack_client_t* Handle() const { return client_->Handle(); }

    // Registers a port named `shortName` ("in", "out 2"); the client owns it
    // until Remove. XJackUnavailable when the server refuses.
    CJackMIDIReceiver* AddInput(const std::string& shortName, CJackMIDIReceiver::Listener listener);
    CJackMIDISender* AddOutput(const std::string& shortName);
    // Once these return, the callback and the delivery thread are done with
    // the port.
    void Remove(CJackMIDIReceiver* input);
    void Remove(CJackMIDISender* output);

    // Connects two ports by their full names; false when refused.
    bool Connect(const std::string& source, const std::string& destination);
    // "client:port".
    static std::string FullName(jack_port_t* port);

private:
    struct SPortSet {
        std::vector<CJackMIDIReceiver*> inputs;
        std::vector<CJackMIDISender*> outputs;
    };

    static int Process(uint32_t frames, void* self);
    jack_port_t* RegisterPort(const std::string& shortName, unsigned long flags);
    // Hands the callback the current lists and waits until it has let go of
    // the old ones (mutex_ held).
    void Publish();
    // Takes the stream out of the cycle's view, then its port away.
    template <typename Stream>
    void RemoveStream(std::vector<std::unique_ptr<Stream>>& streams, Stream* stream);
    void RunDelivery();
    void Wake();
    void Shut();

    // Closed first on the way out, which ends the callback.
    std::unique_ptr<CJackClient> client_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<CJackMIDIReceiver>> inputs_;
    std::vector<std::unique_ptr<CJackMIDISender>> outputs_;
    std::unique_ptr<SPortSet> published_;
    std::atomic<SPortSet*> live_{nullptr};
    std::atomic<uint64_t> entered_{0};
    std::atomic<uint64_t> finished_{0};

    sem_t wake_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> goneSeen_{false};
    std::atomic<bool> drained_{false};
    std::thread delivery_;
};

} // namespace quorvel
