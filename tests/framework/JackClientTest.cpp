#include "framework/JackClient.h"

#include <gtest/gtest.h>
#include <jack/jack.h>

#include <chrono>
#include <thread>

#include "../common/DummyJackServer.h"

namespace quorvel {
namespace {

TEST(JackClient, WithoutAServerThereIsNoClientAndNoServerIsStarted)
{
    setenv("JACK_DEFAULT_SERVER", "quorvel-test-nobody-runs-this", 1);
    EXPECT_FALSE(JackServerAnswers());
    EXPECT_THROW(CJackClient("Quorvel"), XJackUnavailable);
    // Still none: the failed attempts did not start one behind our back.
    EXPECT_FALSE(JackServerAnswers());
    unsetenv("JACK_DEFAULT_SERVER");
}

TEST(JackClient, TakesTheServersRateAndPeriodAndNoticesItsDeath)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 48000, 128);
    EXPECT_TRUE(JackServerAnswers());
    CJackClient client("Quorvel");
    EXPECT_EQ(client.SampleRate(), 48000u);
    EXPECT_EQ(client.BufferSize(), 128u);
    std::atomic<bool> told{false};
    client.OnServerGone([&] { told = true; });
    client.Activate();
    EXPECT_FALSE(client.ServerGone());

    server.Kill();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!client.ServerGone() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(client.ServerGone());
    EXPECT_TRUE(told);
}

} // namespace
} // namespace quorvel
