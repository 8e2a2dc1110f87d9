#pragma once
// The JACK card family: the JACK server (jackd, or PipeWire's JACK) that
// answers at start-up, as one card. Its channel is a JACK client with two
// output ports that renders in the server's process cycle. At its first Start
// it connects them to the ports QUORVEL_JACK_PLAYBACK_PORTS names
// ("client:port,client:port", left then right), else to the ports the program
// handed over (where the user had patched them last time), else to the
// machine's first two playback ports.
#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "playback/JackStereoOutput.h"
#include "playback/SoundCardRegistry.h"

typedef struct _jack_port jack_port_t;

namespace quorvel {

class CJackClient;

// For each output, left first, the ports it feeds ("client:port").
using JackRouting = std::array<std::vector<std::string>, 2>;

// The JACK server refused a port, activation or the client itself.
QUORVEL_EXCEPTION(ZJACK_SOUND_EXCEPTION, ZSOUND_EXCEPTION);

class CRegisteredJackSoundCard : public CRegisteredSoundCard {
public:
    static constexpr const char* kType = "JACK";
    static constexpr const char* kDriver = "JACK server";

    // The server's name as clients address it (see ServerName).
    explicit CRegisteredJackSoundCard(const std::string& serverName);

    // JACK_DEFAULT_SERVER, or "default".
    static std::string ServerName();

    std::unique_ptr<CSoundChannel> CreateChannel(int32_t outputRate, CABCSoundRenderer* first,
                                                 CABCSoundRenderer* second,
                                                 uint16_t channelCount) const override;

    // Handed to every channel opened afterwards (see
    // CJackSoundChannel::SetPlaybackPorts).
    void SetPlaybackPorts(JackRouting ports) { playbackPorts_ = std::move(ports); }
    // A closing channel leaves the routing the user gave it here, so that
    // the card's next channel (the card chosen again, sound taken back)
    // starts where the user left off.
    void RememberPlaybackPorts(JackRouting ports) const { playbackPorts_ = std::move(ports); }

private:
    mutable JackRouting playbackPorts_;
};

// Appends the card when a server answers now; without one, nothing.
void RegisterJackCards(CSoundCardRegistry& registry);

class CJackSoundChannel : public CSoundChannel {
public:
    static constexpr const char* kClientName = "Quorvel";
    static constexpr const char* kLeftPort = "out_1";
    static constexpr const char* kRightPort = "out_2";
    static constexpr const char* kPortsVariable = "QUORVEL_JACK_PLAYBACK_PORTS";

    // Opens the client and its ports (ZJACK_SOUND_EXCEPTION when the server
    // is gone or refuses; ZSOUND_EXCEPTION for a server rate it cannot
    // convert). Stereo at 44100 Hz only (XBase otherwise).
    CJackSoundChannel(const CRegisteredSoundCard& card, int32_t outputRate, CABCSoundRenderer* first,
                      CABCSoundRenderer* second, uint16_t channelCount);
    ~CJackSoundChannel() override;

    // Where the outputs go at the first Start, unless the environment names
    // ports. Both sides empty: the machine's playback ports. A side whose
    // ports are all gone (an interface unplugged) gets its playback port; a
    // side left empty stays unconnected. No effect after the first Start.
    void SetPlaybackPorts(JackRouting ports) { playbackPorts_ = std::move(ports); }
    // Where the outputs are connected now, whoever made the connections;
    // empty once the server has gone.
    JackRouting ConnectedPlaybackPorts() const;

    // The first Start activates the client and connects the ports; later
    // ones keep whatever routing the user made meanwhile. Stop only mutes
    // the process cycle, and returns once the cycle no longer renders.
    void Start() override;
    void Stop() override;
    // One setting: the server's period plus the playback latency of the
    // ports it feeds (known once connected), rounded up to whole ms.
    uint16_t LatencyCount() const override { return 1; }
    void SelectLatency(uint16_t) override {}
    uint16_t SelectedLatency() const override { return 0; }
    int32_t LatencyMs(uint16_t index) const override;
    // The server's xruns since Start, and periods too long to serve.
    uint32_t UnderrunCount() const override { return underruns_; }
    // Once the server has gone, the channel is failed and no longer running
    // (as the interface sees it). Until it is closed, a thread of its own
    // keeps calling the renderers at real-time pace into nowhere, so that a
    // player waiting for its commands to be taken never hangs.
    bool IsRunning() const override { return running_ && !failed_; }
    bool Failed() const override { return failed_; }

    // "client:port" of the left and right outputs.
    std::string LeftPortName() const;
    std::string RightPortName() const;
    uint32_t ServerRate() const { return output_.ServerRate(); }

private:
    // The channel's stretches through the render callbacks, for the output.
    class CStretchSource : public CABCSoundRenderer {
    public:
        explicit CStretchSource(CJackSoundChannel& channel) : channel_(channel) {}
        void Render(int16_t* out, int32_t frames) override { channel_.RenderStretch(out, frames); }

    private:
        CJackSoundChannel& channel_;
    };

    static int Process(uint32_t frames, void* self);
    static int PeriodChanged(uint32_t frames, void* self);
    static int Xrun(void* self);
    JackRouting RoutingAtFirstStart() const;
    void ConnectOutputs();
    void ServerGone();
    void KeepRendering();

    // The client first: the output takes the server's rate from it.
    std::unique_ptr<CJackClient> client_;
    CStretchSource source_{*this};
    CJackStereoOutput output_;
    jack_port_t* left_ = nullptr;
    jack_port_t* right_ = nullptr;
    JackRouting playbackPorts_;
    bool activated_ = false;
    std::atomic<bool> running_{false};
    std::atomic<bool> rendering_{false};
    std::atomic<bool> failed_{false};
    std::atomic<uint32_t> underruns_{0};
    std::atomic<uint32_t> period_{0};
    std::atomic<uint32_t> playbackLatency_{0};

    // After the server has gone.
    std::mutex goneMutex_;
    std::condition_variable goneWake_;
    bool closing_ = false;
    std::vector<int16_t> discarded_;
    std::thread keepRendering_;
};

} // namespace quorvel
