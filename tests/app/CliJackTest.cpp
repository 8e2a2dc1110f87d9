// The command-line tool with a JACK server running (a dummy one of the test's).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../common/DummyJackServer.h"
#include "../common/TempFolder.h"
#include "RunTool.h"

namespace quorvel {
namespace {

using nlohmann::json;

TEST(CliJack, DevicesListsTheServerFirstAndPlayGoesThroughIt)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 48000, 256);
    auto run = test::RunTool("quorvel-cli", "devices");
    ASSERT_EQ(run.status, 0) << run.err;
    const json devices = json::parse(run.out);
    ASSERT_GE(devices.size(), 2u);
    EXPECT_EQ(devices[0]["type"], "JACK");
    EXPECT_EQ(devices[0]["name"], server.Name());
    EXPECT_EQ(devices[0]["driver"], "JACK server");
    // One setting: the 256-frame period at 48 kHz, rounded up.
    EXPECT_EQ(devices[0]["latency_ms"], json::array({6}));

    run = test::RunTool("quorvel-cli", "play " + std::string(QUORVEL_SOURCE_DIR) +
                                           "/examples/demo-loop.wav --bars 2 --sensitivity 99 --slice 2 --device JACK");
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["type"], "JACK");
    EXPECT_EQ(report["device"], server.Name());
    EXPECT_EQ(report["underruns"], 0);
    // Connected to the dummy playback ports, whose latency now counts too.
    EXPECT_GT(report["latency_ms"].get<int>(), 6);
}

} // namespace
} // namespace quorvel
