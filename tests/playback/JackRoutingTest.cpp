// Where the JACK card's outputs go at the first Start, and what it reports
// of the connections the user made since.
#include <gtest/gtest.h>
#include <jack/jack.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "../common/DummyJackServer.h"
#include "playback/JackSoundCard.h"
#include "playback/WavePlayer.h"

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

// Another program in the user's patchbay, with two audio inputs.
class CMonitorClient {
public:
    CMonitorClient()
    {
        jack_status_t status{};
        client_ = jack_client_open("Monitor", JackNoStartServer, &status);
        if (!client_)
            return;
        in_[0] = jack_port_register(client_, "in_1", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        in_[1] = jack_port_register(client_, "in_2", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_activate(client_);
    }
    ~CMonitorClient()
    {
        if (client_)
            jack_client_close(client_);
    }

    bool Ready() const { return client_ && in_[0] && in_[1]; }
    jack_client_t* Handle() const { return client_; }
    bool ConnectedTo(int input, const std::string& port) const { return jack_port_connected_to(in_[input], port.c_str()); }

private:
    jack_client_t* client_ = nullptr;
    jack_port_t* in_[2] = {};
};

class CPortsVariable {
public:
    explicit CPortsVariable(const char* value) { setenv(CJackSoundChannel::kPortsVariable, value, 1); }
    ~CPortsVariable() { unsetenv(CJackSoundChannel::kPortsVariable); }
};

const JackRouting kMonitor{{{"Monitor:in_1"}, {"Monitor:in_2"}}};
const JackRouting kSystem{{{"system:playback_1"}, {"system:playback_2"}}};

// A started channel of `card`.
std::unique_ptr<CJackSoundChannel> StartedChannel(const CRegisteredJackSoundCard& card, CWavePlayer& player)
{
    auto channel = card.CreateChannel(44100, nullptr, &player, 2);
    channel->Start();
    return std::unique_ptr<CJackSoundChannel>(static_cast<CJackSoundChannel*>(channel.release()));
}

// A started channel of a card told `ports`; the card outlives the test.
std::unique_ptr<CJackSoundChannel> StartedChannel(const std::string& server, CWavePlayer& player,
                                                  const JackRouting& ports)
{
    static std::vector<std::unique_ptr<CRegisteredJackSoundCard>> cards;
    cards.push_back(std::make_unique<CRegisteredJackSoundCard>(server));
    cards.back()->SetPlaybackPorts(ports);
    return StartedChannel(*cards.back(), player);
}

TEST(JackRouting, ConnectsWhereItIsToldAndReportsWhereTheUserPatchedIt)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    CMonitorClient monitor;
    ASSERT_TRUE(monitor.Ready());
    CWavePlayer player;
    auto channel = StartedChannel(server.Name(), player, kMonitor);
    EXPECT_TRUE(monitor.ConnectedTo(0, channel->LeftPortName()));
    EXPECT_TRUE(monitor.ConnectedTo(1, channel->RightPortName()));
    EXPECT_FALSE(monitor.ConnectedTo(0, channel->RightPortName()));
    EXPECT_EQ(channel->ConnectedPlaybackPorts(), kMonitor) << "and nowhere else";

    // The user patches the left output to the speakers as well, and takes
    // the right one away from the monitor.
    ASSERT_EQ(jack_connect(monitor.Handle(), channel->LeftPortName().c_str(), "system:playback_1"), 0);
    ASSERT_EQ(jack_disconnect(monitor.Handle(), channel->RightPortName().c_str(), "Monitor:in_2"), 0);
    JackRouting reported = channel->ConnectedPlaybackPorts();
    std::sort(reported[0].begin(), reported[0].end());
    EXPECT_EQ(reported, (JackRouting{{{"Monitor:in_1", "system:playback_1"}, {}}}));
    // A later Start keeps that.
    channel->Stop();
    channel->Start();
    EXPECT_TRUE(channel->ConnectedPlaybackPorts()[1].empty());

    // The card's next channel (the card chosen again) starts as the user left it.
    {
        CRegisteredJackSoundCard card(server.Name());
        card.SetPlaybackPorts(kMonitor);
        auto first = StartedChannel(card, player);
        ASSERT_EQ(jack_disconnect(monitor.Handle(), first->LeftPortName().c_str(), "Monitor:in_1"), 0);
        ASSERT_EQ(jack_connect(monitor.Handle(), first->LeftPortName().c_str(), "system:playback_1"), 0);
        first.reset();
        EXPECT_EQ(StartedChannel(card, player)->ConnectedPlaybackPorts(),
                  (JackRouting{{{"system:playback_1"}, {"Monitor:in_2"}}}));
    }

    server.Kill();
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (!channel->Failed() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(channel->Failed());
    EXPECT_EQ(channel->ConnectedPlaybackPorts(), JackRouting{});
}

TEST(JackRouting, GonePortsFallBackToThePlaybackPortsAndTheEnvironmentWins)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    CMonitorClient monitor;
    ASSERT_TRUE(monitor.Ready());
    CWavePlayer player;
    EXPECT_EQ(StartedChannel(server.Name(), player, {})->ConnectedPlaybackPorts(), kSystem);
    // The interface the user had patched to is unplugged.
    EXPECT_EQ(StartedChannel(server.Name(), player, {{{"Interface:in_1"}, {"Interface:in_2"}}})
                  ->ConnectedPlaybackPorts(),
              kSystem);
    // Only what is gone falls back; a side the user left unconnected stays so.
    EXPECT_EQ(StartedChannel(server.Name(), player, {{{"Interface:in_1", "Monitor:in_2"}, {}}})
                  ->ConnectedPlaybackPorts(),
              (JackRouting{{{"Monitor:in_2"}, {}}}));
    EXPECT_EQ(StartedChannel(server.Name(), player, {{{"Interface:in_1"}, {"Monitor:in_1"}}})
                  ->ConnectedPlaybackPorts(),
              (JackRouting{{{"system:playback_1"}, {"Monitor:in_1"}}}));
    // An output port cannot be fed; it counts as gone.
    EXPECT_EQ(StartedChannel(server.Name(), player, {{{"system:capture_1"}, {"system:capture_2"}}})
                  ->ConnectedPlaybackPorts(),
              kSystem);

    const CPortsVariable script("system:playback_2,system:playback_1");
    EXPECT_EQ(StartedChannel(server.Name(), player, kMonitor)->ConnectedPlaybackPorts(),
              (JackRouting{{{"system:playback_2"}, {"system:playback_1"}}}));
}

} // namespace
} // namespace quorvel::test
