#include "playback/JackSoundCard.h"

#include <jack/jack.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "framework/JackClient.h"

namespace quorvel {

namespace {

constexpr int32_t kKeepRenderingFrames = 441; // 10 ms
constexpr int32_t kRenderRate = CJackStereoOutput::kSourceRate;

// Stereo at the wave player's rate is all the application asks for.
std::unique_ptr<CJackClient> OpenClient(int32_t outputRate, uint16_t channelCount)
{
    if (outputRate != CJackStereoOutput::kSourceRate || channelCount != 2)
        throw XBase();
    try {
        return std::make_unique<CJackClient>(CJackSoundChannel::kClientName);
    } catch (const XJackUnavailable&) {
        throw ZJACK_SOUND_EXCEPTION();
    }
}

bool Unrouted(const JackRouting& routing) { return routing[0].empty() && routing[1].empty(); }

// One port gets both sides.
JackRouting FromList(const std::vector<std::string>& ports)
{
    JackRouting routing;
    if (!ports.empty()) {
        routing[0] = {ports.front()};
        routing[1] = {ports.back()};
    }
    return routing;
}

// The ports the environment names ("left,right"), if any.
JackRouting NamedInEnvironment()
{
    std::vector<std::string> ports;
    if (const char* named = std::getenv(CJackSoundChannel::kPortsVariable); named && *named) {
        std::string list = named;
        for (size_t from = 0; from <= list.size() && ports.size() < 2;) {
            const size_t comma = std::min(list.find(',', from), list.size());
            if (comma > from)
                ports.push_back(list.substr(from, comma - from));
            from = comma + 1;
        }
    }
    return FromList(ports);
}

// The machine's first two playback ports.
JackRouting PhysicalPorts(jack_client_t* client)
{
    std::vector<std::string> ports;
    if (const char** physical =
            jack_get_ports(client, nullptr, JACK_DEFAULT_AUDIO_TYPE, JackPortIsPhysical | JackPortIsInput)) {
        for (const char** port = physical; *port && ports.size() < 2; ++port)
            ports.emplace_back(*port);
        jack_free(physical);
    }
    return FromList(ports);
}

bool IsInputPort(jack_client_t* client, const std::string& name)
{
    const jack_port_t* port = jack_port_by_name(client, name.c_str());
    return port && (jack_port_flags(port) & JackPortIsInput) != 0;
}

} // namespace

CRegisteredJackSoundCard::CRegisteredJackSoundCard(const std::string& serverName)
    : CRegisteredSoundCard(kType, serverName, kDriver, true)
{
}

std::string CRegisteredJackSoundCard::ServerName()
{
    const char* name = std::getenv("JACK_DEFAULT_SERVER");
    return name && *name ? name : "default";
}

std::unique_ptr<CSoundChannel> CRegisteredJackSoundCard::CreateChannel(int32_t outputRate,
                                                                       CABCSoundRenderer* first,
                                                                       CABCSoundRenderer* second,
                                                                       uint16_t channelCount) const
{
    auto channel = std::make_unique<CJackSoundChannel>(*this, outputRate, first, second, channelCount);
    channel->SetPlaybackPorts(playbackPorts_);
    return channel;
}

void RegisterJackCards(CSoundCardRegistry& registry)
{
    if (JackServerAnswers())
        registry.Append(std::make_unique<CRegisteredJackSoundCard>(CRegisteredJackSoundCard::ServerName()));
}

CJackSoundChannel::CJackSoundChannel(const CRegisteredSoundCard& card, int32_t outputRate,
                                     CABCSoundRenderer* first, CABCSoundRenderer* second,
                                     uint16_t channelCount)
    : CSoundChannel(card, static_cast<int32_t>(CJackStereoOutput::kMaxPeriod), outputRate, first, second,
                    channelCount),
      client_(OpenClient(outputRate, channelCount)),
      output_(client_->SampleRate(), source_)
{
    jack_client_t* client = client_->Handle();
    period_ = client_->BufferSize();
    left_ = jack_port_register(client, kLeftPort, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    right_ = jack_port_register(client, kRightPort, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    if (!left_ || !right_ || jack_set_process_callback(client, &CJackSoundChannel::Process, this) != 0 ||
        jack_set_buffer_size_callback(client, &CJackSoundChannel::PeriodChanged, this) != 0 ||
        jack_set_xrun_callback(client, &CJackSoundChannel::Xrun, this) != 0)
        throw ZJACK_SOUND_EXCEPTION();
    discarded_.resize(size_t{kKeepRenderingFrames} * 2);
    client_->OnServerGone([this] { ServerGone(); });
    keepRendering_ = std::thread(&CJackSoundChannel::KeepRendering, this);
}

CJackSoundChannel::~CJackSoundChannel()
{
    if (activated_ && !failed_) {
        const auto* card = dynamic_cast<const CRegisteredJackSoundCard*>(Card());
        JackRouting now = ConnectedPlaybackPorts();
        if (card && (!now[0].empty() || !now[1].empty()))
            card->RememberPlaybackPorts(std::move(now));
    }
    Stop();
    {
        std::lock_guard lock(goneMutex_);
        closing_ = true;
    }
    goneWake_.notify_all();
    keepRendering_.join();
    // Closing ends the process cycle before the output it renders into goes.
    client_.reset();
}

void CJackSoundChannel::ServerGone()
{
    {
        std::lock_guard lock(goneMutex_);
        failed_ = true;
    }
    goneWake_.notify_all();
}

void CJackSoundChannel::KeepRendering()
{
    std::unique_lock lock(goneMutex_);
    goneWake_.wait(lock, [this] { return failed_ || closing_; });
    // A cycle cut short by the server's end may not have left the renderers.
    while (rendering_ && !closing_)
        goneWake_.wait_for(lock, std::chrono::milliseconds(1));
    while (!closing_) {
        lock.unlock();
        rendering_ = true;
        if (running_)
            RenderStretch(discarded_.data(), kKeepRenderingFrames);
        rendering_ = false;
        lock.lock();
        goneWake_.wait_for(lock, std::chrono::milliseconds(kKeepRenderingFrames * 1000 / kRenderRate),
                           [this] { return closing_; });
    }
}

void CJackSoundChannel::Start()
{
    if (running_)
        return;
    // A failed channel still "runs" for the renderers (see KeepRendering).
    if (!activated_ && !failed_) {
        try {
            client_->Activate();
        } catch (const XJackUnavailable&) {
            throw ZJACK_SOUND_EXCEPTION();
        }
        activated_ = true;
        ConnectOutputs();
    }
    // The cycle is not rendering (Stop waited for that), so the output may
    // be touched here.
    output_.Reset();
    underruns_ = 0;
    running_ = true;
}

void CJackSoundChannel::Stop()
{
    running_ = false;
    // A cycle that saw the channel running may still be rendering; callers
    // rely on no render after Stop. A cycle lasts one period.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (rendering_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

int32_t CJackSoundChannel::LatencyMs(uint16_t) const
{
    const uint64_t frames = uint64_t{period_} + playbackLatency_;
    const uint64_t rate = output_.ServerRate();
    return static_cast<int32_t>((frames * 1000 + rate - 1) / rate);
}

std::string CJackSoundChannel::LeftPortName() const
{
    return client_->Name() + ":" + kLeftPort;
}

std::string CJackSoundChannel::RightPortName() const
{
    return client_->Name() + ":" + kRightPort;
}

JackRouting CJackSoundChannel::ConnectedPlaybackPorts() const
{
    JackRouting connected;
    if (failed_ || client_->ServerGone())
        return connected;
    const jack_port_t* outputs[] = {left_, right_};
    for (size_t side = 0; side < 2; ++side) {
        if (const char** ports = jack_port_get_all_connections(client_->Handle(), outputs[side])) {
            for (const char** port = ports; *port; ++port)
                connected[side].emplace_back(*port);
            jack_free(ports);
        }
    }
    return connected;
}

JackRouting CJackSoundChannel::RoutingAtFirstStart() const
{
    if (JackRouting named = NamedInEnvironment(); !Unrouted(named))
        return named;
    jack_client_t* client = client_->Handle();
    const JackRouting physical = PhysicalPorts(client);
    if (Unrouted(playbackPorts_))
        return physical;
    JackRouting routing;
    for (size_t side = 0; side < 2; ++side) {
        for (const std::string& port : playbackPorts_[side])
            if (IsInputPort(client, port))
                routing[side].push_back(port);
        if (routing[side].empty() && !playbackPorts_[side].empty())
            routing[side] = physical[side];
    }
    return routing;
}

void CJackSoundChannel::ConnectOutputs()
{
    jack_client_t* client = client_->Handle();
    const JackRouting routing = RoutingAtFirstStart();
    uint32_t latency = 0;
    for (size_t side = 0; side < 2; ++side) {
        for (const std::string& name : routing[side]) {
            // A port that is gone or refuses leaves that side for the user's
            // patchbay; playback itself goes on.
            jack_connect(client, jack_port_name(side == 0 ? left_ : right_), name.c_str());
            if (jack_port_t* port = jack_port_by_name(client, name.c_str())) {
                jack_latency_range_t range{};
                jack_port_get_latency_range(port, JackPlaybackLatency, &range);
                latency = std::max(latency, range.max);
            }
        }
    }
    playbackLatency_ = latency;
}

int CJackSoundChannel::Process(uint32_t frames, void* self)
{
    auto& channel = *static_cast<CJackSoundChannel*>(self);
    auto* left = static_cast<float*>(jack_port_get_buffer(channel.left_, frames));
    auto* right = static_cast<float*>(jack_port_get_buffer(channel.right_, frames));
    // Raised before running_ is read, so that Stop either sees it or this
    // cycle sees the channel stopped.
    channel.rendering_ = true;
    if (channel.running_) {
        if (!channel.output_.Process(left, right, frames))
            ++channel.underruns_;
    } else {
        std::fill_n(left, frames, 0.0f);
        std::fill_n(right, frames, 0.0f);
    }
    channel.rendering_ = false;
    return 0;
}

int CJackSoundChannel::PeriodChanged(uint32_t frames, void* self)
{
    static_cast<CJackSoundChannel*>(self)->period_ = frames;
    return 0;
}

int CJackSoundChannel::Xrun(void* self)
{
    auto& channel = *static_cast<CJackSoundChannel*>(self);
    if (channel.running_)
        ++channel.underruns_;
    return 0;
}

} // namespace quorvel
