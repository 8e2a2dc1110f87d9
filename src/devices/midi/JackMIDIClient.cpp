#include "devices/midi/JackMIDIClient.h"

#include <jack/jack.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "devices/midi/MIDIService.h"

namespace quorvel {

namespace {

// How long a port's removal waits for a callback under way: one period is
// far less, and a server that hangs longer than this is treated as gone
// (the old list is then left allocated rather than freed under it).
constexpr auto kCallbackPatience = std::chrono::seconds(2);

} // namespace

CJackMIDIClient::CJackMIDIClient(const std::string& name) : client_(std::make_unique<CJackClient>(name))
{
    sem_init(&wake_, 0, 0);
    client_->OnServerGone([this] {
        goneSeen_.store(true, std::memory_order_release);
        Wake();
    });
    jack_set_process_callback(client_->Handle(), &CJackMIDIClient::Process, this);
    delivery_ = std::thread([this] { RunDelivery(); });
    try {
        client_->Activate();
    } catch (...) {
        Shut();
        throw;
    }
}

CJackMIDIClient::~CJackMIDIClient() { Shut(); }

void CJackMIDIClient::Shut()
{
    // Closing the client ends the callback; its ports go with it.
    client_.reset();
    stopping_ = true;
    Wake();
    delivery_.join();
    sem_destroy(&wake_);
}

void CJackMIDIClient::Wake() { sem_post(&wake_); }

int CJackMIDIClient::Process(uint32_t frames, void* arg)
{
    auto* self = static_cast<CJackMIDIClient*>(arg);
    self->entered_.fetch_add(1);
    bool moved = false;
    if (const SPortSet* ports = self->live_.load()) {
        for (CJackMIDIReceiver* input : ports->inputs)
            moved |= input->Process(frames);
        for (CJackMIDISender* output : ports->outputs)
            moved |= output->Process(frames);
    }
    self->finished_.fetch_add(1);
    if (moved)
        self->Wake();
    return 0;
}

void CJackMIDIClient::Publish()
{
    auto next = std::make_unique<SPortSet>();
    for (const auto& input : inputs_)
        next->inputs.push_back(input.get());
    for (const auto& output : outputs_)
        next->outputs.push_back(output.get());
    live_.store(next.get());
    // A callback that entered before the swap may still read the old list.
    const uint64_t entered = entered_.load();
    const auto until = std::chrono::steady_clock::now() + kCallbackPatience;
    while (finished_.load() < entered && !client_->ServerGone()) {
        if (std::chrono::steady_clock::now() > until) {
            (void)published_.release();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    published_ = std::move(next);
}

jack_port_t* CJackMIDIClient::RegisterPort(const std::string& shortName, unsigned long flags)
{
    if (client_->ServerGone())
        throw XJackUnavailable();
    jack_port_t* port = jack_port_register(client_->Handle(), shortName.c_str(), JACK_DEFAULT_MIDI_TYPE, flags, 0);
    if (!port)
        throw XJackUnavailable();
    return port;
}

CJackMIDIReceiver* CJackMIDIClient::AddInput(const std::string& shortName, CJackMIDIReceiver::Listener listener)
{
    std::lock_guard lock(mutex_);
    jack_port_t* port = RegisterPort(shortName, JackPortIsInput);
    inputs_.push_back(std::make_unique<CJackMIDIReceiver>(port, kInputRing, std::move(listener)));
    Publish();
    return inputs_.back().get();
}

CJackMIDISender* CJackMIDIClient::AddOutput(const std::string& shortName)
{
    std::lock_guard lock(mutex_);
    jack_port_t* port = RegisterPort(shortName, JackPortIsOutput);
    outputs_.push_back(std::make_unique<CJackMIDISender>(port, kOutputRing));
    Publish();
    return outputs_.back().get();
}

void CJackMIDIClient::Remove(CJackMIDIReceiver* input)
{
    RemoveStream(inputs_, input);
}

void CJackMIDIClient::Remove(CJackMIDISender* output)
{
    RemoveStream(outputs_, output);
}

template <typename Stream>
void CJackMIDIClient::RemoveStream(std::vector<std::unique_ptr<Stream>>& streams, Stream* stream)
{
    std::lock_guard lock(mutex_);
    const auto found =
        std::find_if(streams.begin(), streams.end(), [&](const auto& p) { return p.get() == stream; });
    if (found == streams.end())
        return;
    std::unique_ptr<Stream> removed = std::move(*found);
    streams.erase(found);
    Publish();
    // A dead server's connection takes no more requests.
    if (!client_->ServerGone())
        jack_port_unregister(client_->Handle(), removed->Port());
}

bool CJackMIDIClient::Connect(const std::string& source, const std::string& destination)
{
    if (client_->ServerGone())
        return false;
    const int result = jack_connect(client_->Handle(), source.c_str(), destination.c_str());
    return result == 0 || result == EEXIST;
}

std::string CJackMIDIClient::FullName(jack_port_t* port) { return jack_port_name(port); }

void CJackMIDIClient::RunDelivery()
{
    for (;;) {
        while (sem_wait(&wake_) != 0) {
            // Interrupted by a signal: wait again.
        }
        if (stopping_)
            return;
        // Read before delivering: the callback writes nothing after the
        // server has gone, so this delivery takes the last of it.
        const bool gone = goneSeen_.load(std::memory_order_acquire);
        {
            std::lock_guard lock(mutex_);
            for (const auto& input : inputs_)
                input->Deliver();
        }
        if (gone)
            drained_.store(true, std::memory_order_release);
        // Outputs waiting for their bytes to leave, and the inputs' wait
        // loops, go on at once.
        SignalMIDIActivity();
    }
}

} // namespace quorvel
