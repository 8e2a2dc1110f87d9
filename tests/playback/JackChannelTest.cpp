#include <gtest/gtest.h>
#include <jack/jack.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "../common/DummyJackServer.h"
#include "../common/TempFolder.h"
#include "SoundAlertsDouble.h"
#include "WavePlayerFixtures.h"
#include "playback/JackSoundCard.h"
#include "playback/NullSoundCard.h"
#include "playback/SoundSystem.h"
#include "playback/WavePlayer.h"

extern char** environ;

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

// A JACK client of the test's own that records what reaches its two input
// ports, as 16-bit frames, into memory reserved up front.
class CCaptureClient {
public:
    explicit CCaptureClient(size_t capacityFrames) : frames_(capacityFrames * 2)
    {
        jack_status_t status{};
        client_ = jack_client_open("capture", JackNoStartServer, &status);
        if (!client_)
            return;
        left_ = jack_port_register(client_, "in_1", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        right_ = jack_port_register(client_, "in_2", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &CCaptureClient::Process, this);
        jack_activate(client_);
    }
    ~CCaptureClient()
    {
        if (client_)
            jack_client_close(client_);
    }

    bool Ready() const { return client_ && left_ && right_; }
    bool ConnectFrom(const CJackSoundChannel& channel)
    {
        return jack_connect(client_, channel.LeftPortName().c_str(), jack_port_name(left_)) == 0 &&
               jack_connect(client_, channel.RightPortName().c_str(), jack_port_name(right_)) == 0;
    }
    void StopRecording() { recording_ = false; }
    // What was recorded, without the silence before and after it.
    std::vector<int16_t> Recorded() const { return TrimSilence({frames_.begin(), frames_.begin() + 2 * count_}); }

    static std::vector<int16_t> TrimSilence(std::vector<int16_t> interleaved)
    {
        size_t first = 0;
        size_t end = interleaved.size();
        while (first < end && interleaved[first] == 0)
            ++first;
        while (end > first && interleaved[end - 1] == 0)
            --end;
        first -= first % 2;
        end += end % 2;
        return {interleaved.begin() + first, interleaved.begin() + end};
    }

private:
    static int Process(jack_nframes_t frames, void* self)
    {
        auto& capture = *static_cast<CCaptureClient*>(self);
        if (!capture.recording_)
            return 0;
        const auto* left = static_cast<const float*>(jack_port_get_buffer(capture.left_, frames));
        const auto* right = static_cast<const float*>(jack_port_get_buffer(capture.right_, frames));
        const size_t at = capture.count_;
        const size_t n = std::min<size_t>(frames, capture.frames_.size() / 2 - at);
        for (size_t i = 0; i < n; ++i) {
            capture.frames_[2 * (at + i)] = static_cast<int16_t>(std::lround(left[i] * 32768.0f));
            capture.frames_[2 * (at + i) + 1] = static_cast<int16_t>(std::lround(right[i] * 32768.0f));
        }
        capture.count_ = at + n;
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* left_ = nullptr;
    jack_port_t* right_ = nullptr;
    std::vector<int16_t> frames_;
    std::atomic<size_t> count_{0};
    std::atomic<bool> recording_{true};
};

// Plays [start, end) of the sound through the channel and waits until the
// player is done and the channel's queue has played out.
void PlayRangeThrough(CSoundChannel& channel, CWavePlayer& player, WAVE_SAMPLE& sound, int32_t start, int32_t end)
{
    channel.Start();
    player.SetChannel(&channel);
    player.PlayRange(sound, start, end, nullptr);
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (player.IsPlaying(&sound) && std::chrono::steady_clock::now() < until) {
        player.IdleStep();
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_FALSE(player.IsPlaying(&sound));
    std::this_thread::sleep_for(std::chrono::milliseconds(channel.CurrentLatencyMs() + 100));
    player.SetChannel(nullptr);
    channel.Stop();
}

std::unique_ptr<CSoundChannel> JackChannel(const CRegisteredJackSoundCard& card, CWavePlayer& player)
{
    return card.CreateChannel(44100, nullptr, &player, 2);
}

// Busy loops on every core for as long as it lives.
class CCpuLoad {
public:
    explicit CCpuLoad(unsigned processes)
    {
        const char* argv[] = {"sh", "-c", "while :; do :; done", nullptr};
        for (unsigned i = 0; i < processes; ++i) {
            pid_t pid = 0;
            if (posix_spawnp(&pid, "sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0)
                pids_.push_back(pid);
        }
    }
    ~CCpuLoad()
    {
        for (pid_t pid : pids_) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

private:
    std::vector<pid_t> pids_;
};

// Misses the deadline of the first cycle it renders.
class CLateRenderer : public CABCSoundRenderer {
public:
    void Render(int16_t*, int32_t) override
    {
        if (!late_.exchange(true))
            std::this_thread::sleep_for(50ms);
    }

private:
    std::atomic<bool> late_{false};
};

TEST(JackCard, IsListedFirstOnlyWhileAServerAnswers)
{
    auto jackCards = [] {
        CSoundCards cards(nullptr, nullptr);
        cards.RegisterCards();
        std::vector<std::string> found;
        for (uint16_t i = 0; i < cards.Registry().Count(); ++i)
            if (cards.Registry().CardAt(i)->Type() == CRegisteredJackSoundCard::kType)
                found.push_back(std::to_string(i) + ":" + cards.Registry().CardAt(i)->Name() + ":" +
                                cards.Registry().CardAt(i)->Driver());
        return found;
    };
    setenv("JACK_DEFAULT_SERVER", "quorvel-test-nobody-runs-this", 1);
    EXPECT_TRUE(jackCards().empty());
    unsetenv("JACK_DEFAULT_SERVER");

    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    EXPECT_EQ(jackCards(), std::vector<std::string>{"0:" + server.Name() + ":JACK server"});
}

TEST(JackCard, PlaysASliceSampleForSampleAsTheNullCardCapturesIt)
{
    // A rate other than the output's, so that the player's own stepping is
    // part of what both cards must carry unchanged.
    auto sound = CountingSound(40000, 32000);
    constexpr int32_t kStart = 5000;
    constexpr int32_t kEnd = 21000;

    TempFolder folder;
    {
        REGISTERED_NULL_SOUND_CARD nullCard(NullCardOptions{folder / "null.wav", NullClock::RealTime, 8.0});
        CWavePlayer player;
        auto channel = nullCard.CreateChannel(44100, nullptr, &player, 2);
        PlayRangeThrough(*channel, player, *sound, kStart, kEnd);
    }
    const std::vector<uint8_t> bytes = ReadBytes(folder / "null.wav");
    ASSERT_GT(bytes.size(), 44u);
    std::vector<int16_t> expected((bytes.size() - 44) / 2);
    for (size_t i = 0; i < expected.size(); ++i)
        expected[i] = static_cast<int16_t>(bytes[44 + 2 * i] | bytes[45 + 2 * i] << 8);
    expected = CCaptureClient::TrimSilence(expected);
    // The slice lasts 22050 output frames.
    ASSERT_NEAR(double(expected.size()) / 2, 22050.0, 2.0);

    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    CRegisteredJackSoundCard card(server.Name());
    CWavePlayer player;
    auto channel = JackChannel(card, player);
    auto& jack = static_cast<CJackSoundChannel&>(*channel);
    EXPECT_EQ(jack.ServerRate(), 44100u);
    EXPECT_EQ(jack.LatencyCount(), 1);
    // At least the period (256 frames: 5.8 ms, rounded up).
    EXPECT_GE(jack.LatencyMs(0), 6);
    CCaptureClient capture(2 * 44100);
    ASSERT_TRUE(capture.Ready());
    channel->Start();
    ASSERT_TRUE(capture.ConnectFrom(jack));
    PlayRangeThrough(*channel, player, *sound, kStart, kEnd);
    capture.StopRecording();
    const std::vector<int16_t> heard = capture.Recorded();
    ASSERT_EQ(heard.size(), expected.size());
    for (size_t i = 0; i < heard.size(); ++i)
        ASSERT_EQ(heard[i], expected[i]) << "sample " << i;
    EXPECT_EQ(channel->UnderrunCount(), 0u);
}

TEST(JackCard, NoXrunAtA256FramePeriodWithEveryCoreBusy)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    CRegisteredJackSoundCard card(server.Name());
    CWavePlayer player;
    auto channel = JackChannel(card, player);
    auto sound = CountingSound(441000);
    CCpuLoad load(std::max(2u, std::thread::hardware_concurrency()));
    channel->Start();
    player.SetChannel(channel.get());
    player.PlayLoop(*sound, 0, nullptr);
    for (int i = 0; i < 400; ++i) {
        player.IdleStep();
        std::this_thread::sleep_for(5ms);
    }
    player.Stop();
    EXPECT_TRUE(channel->IsRunning());
    EXPECT_EQ(channel->UnderrunCount(), 0u);
    channel.reset();

    // The count is real: a renderer that misses a cycle's deadline shows.
    CLateRenderer late;
    auto lateChannel = card.CreateChannel(44100, nullptr, &late, 2);
    lateChannel->Start();
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (lateChannel->UnderrunCount() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    EXPECT_GE(lateChannel->UnderrunCount(), 1u);
}

TEST(JackCard, AServerThatDiesDuringPlaybackFailsTheCardAndTheUserTakesAnother)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    FakeAlerts alerts;
    CWavePlayer player;
    CSoundSystem system(player, alerts);
    std::vector<std::unique_ptr<CRegisteredSoundCard>> cards;
    cards.push_back(std::make_unique<CRegisteredJackSoundCard>(server.Name()));
    cards.push_back(std::make_unique<REGISTERED_NULL_SOUND_CARD>(NullCardOptions{"", NullClock::RealTime}));
    ASSERT_TRUE(system.RegisterCards(std::move(cards)));
    ASSERT_TRUE(system.OpenCard(0));
    auto sound = CountingSound(441000);
    player.PlayLoop(*sound, 0, nullptr);
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(system.CheckChannel());

    server.Kill();
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (!system.Channel()->Failed() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(system.Channel()->Failed());
    EXPECT_FALSE(system.Channel()->IsRunning());

    alerts.answers = {CSoundAlerts::kRetry, CSoundAlerts::kTryOther};
    EXPECT_TRUE(system.CheckChannel());
    EXPECT_EQ(alerts.shown, (std::vector<std::string>{"19", "19"}));
    EXPECT_EQ(system.SelectedCardIndex(), 1);
    EXPECT_TRUE(system.SoundEnabled());
    EXPECT_FALSE(player.IsPlaying(sound.get()));
}

} // namespace
} // namespace quorvel::test
