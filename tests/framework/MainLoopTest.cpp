#include "framework/MainLoop.h"

#include <gtest/gtest.h>

#include "FakeShell.h"

namespace quorvel {
namespace {

// "msg msg msg idle" reads as "msg*3 idle".
std::string Collapse(const test::EventLog& log)
{
    std::string out;
    for (size_t i = 0, j = 0; i < log.size(); i = j) {
        while (j < log.size() && log[j] == log[i]) {
            ++j;
        }
        out += out.empty() ? "" : " ";
        out += log[i];
        if (j - i > 1) {
            out += '*';
            out += std::to_string(j - i);
        }
    }
    return out;
}

struct MainLoopTest : ::testing::Test {
    test::EventLog log;
    test::FakeClock clock{log};
    test::FakeMessageSource source{log};
    CMainLoop loop{source, clock, [this] { log.push_back("idle"); }};

    void PostQuitRequest() { source.Post(1, [this] { loop.SetState(RunState::kQuitRequested); }); }
};

TEST_F(MainLoopTest, BlocksWithoutIdleUsersAndEndsAtQuit)
{
    source.Post(2);
    PostQuitRequest();
    source.Post();  // after quit: never dispatched
    loop.Run();
    EXPECT_EQ(Collapse(log), "wait msg wait msg wait msg");
    EXPECT_EQ(source.queue.size(), 1u);
}

TEST_F(MainLoopTest, WithIdleUsersPollsAndIdlesAfterEveryTwentyMessages)
{
    {
        CIdleUser user(loop);
        loop.RunOnce();
        source.Post(45);
        for (int pass = 0; pass < 4; ++pass) {
            loop.RunOnce();
        }
        // Quit inside a burst stops it at once.
        PostQuitRequest();
        source.Post(30);
        loop.Run();
    }
    EXPECT_EQ(Collapse(log), "idle sleep 1 msg*20 idle msg*20 idle msg*5 idle sleep 1 msg");
    EXPECT_EQ(source.queue.size(), 30u);
    EXPECT_FALSE(loop.HasIdleUsers());
}

TEST_F(MainLoopTest, ARefusedQuitKeepsTheProgramRunning)
{
    std::vector<bool> answers{false, true};
    size_t asked = 0;
    loop.SetCloseAllDocuments([&] { return answers.at(asked++); });
    PostQuitRequest();
    loop.RunOnce();
    EXPECT_EQ(loop.State(), RunState::kRunning);
    PostQuitRequest();
    loop.Run();
    EXPECT_EQ(asked, 2u);

    // Work loops dispatch without the quit protocol, so no document is
    // closed underneath the work.
    loop.SetState(RunState::kRunning);
    PostQuitRequest();
    source.Post(3);
    EXPECT_EQ(loop.DispatchPendingMessages(2), 2);
    EXPECT_EQ(loop.State(), RunState::kQuitRequested);
    EXPECT_EQ(asked, 2u);
}

TEST_F(MainLoopTest, IdleStepKeepsTheIntervalOnlyWithoutIdleUsers)
{
    loop.SetIdleInterval(std::chrono::milliseconds(100));
    clock.now = 99;
    loop.IdleStep();
    EXPECT_TRUE(log.empty());
    clock.now = 100;
    loop.IdleStep();
    loop.IdleStep();
    CIdleUser user(loop);
    loop.IdleStep();
    EXPECT_EQ(Collapse(log), "idle*2");
}

} // namespace
} // namespace quorvel
