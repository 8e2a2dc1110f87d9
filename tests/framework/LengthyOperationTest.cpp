#include "framework/LengthyOperation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "FakeShell.h"

namespace quorvel {
namespace {

struct WindowState {
    bool open = false;
    bool stopPressed = false;
    SProgressContent content;
};

struct FakeWindow : CABCProgressWindow {
    explicit FakeWindow(WindowState& state) : state(state) { state.open = true; }
    ~FakeWindow() override { state.open = false; }
    void Show(const SProgressContent& content) override { state.content = content; }
    bool StopPressed() const override { return state.stopPressed; }
    WindowState& state;
};

// Logs each call with the time it was made.
struct FakePresenter : CABCLengthyOperationPresenter {
    explicit FakePresenter(test::FakeClock& clock) : clock(clock) {}
    void ShowBusyCursor(unsigned phase) override { Log("busy " + std::to_string(phase)); }
    void RestoreCursor() override { Log("arrow"); }
    std::unique_ptr<CABCProgressWindow> OpenProgressWindow(const SProgressContent&) override
    {
        Log("window");
        return std::make_unique<FakeWindow>(window);
    }
    void RequestAttention() override { Log("attention"); }
    void Log(const std::string& event) { clock.log.push_back(event + " @" + std::to_string(clock.now)); }

    test::FakeClock& clock;
    WindowState window;
};

struct LengthyOperationTest : ::testing::Test {
    test::EventLog log;
    test::FakeClock clock{log};
    test::FakeMessageSource source{log};
    CMainLoop loop{source, clock, {}};
    FakePresenter presenter{clock};
    SLengthyOperationServices services{clock, presenter, loop};

    // Calls Update every 10 ms for `milliseconds`.
    void Work(CLengthyOperation& operation, uint64_t milliseconds)
    {
        for (const uint64_t end = clock.now + milliseconds; clock.now < end;) {
            clock.now += 10;
            operation.Update(1, 1);
        }
    }
};

TEST_F(LengthyOperationTest, HalfASecondChangesNothingFourSecondsOnlyTheCursor)
{
    {
        CLengthyOperation operation(services, "Examining sound...");
        Work(operation, 500);
        EXPECT_TRUE(log.empty());
        Work(operation, 3500);
        EXPECT_FALSE(operation.WindowOpen());
    }
    // More than 30 ticks, then more than 12 between refreshes; the phase
    // wraps after 7.
    ASSERT_GE(log.size(), 10u);
    EXPECT_EQ(log[0], "busy 0 @520");
    EXPECT_EQ(log[1], "busy 1 @740");
    EXPECT_EQ(log[8], "busy 0 @2250");
    EXPECT_EQ(log.back(), "arrow @4000");
}

TEST_F(LengthyOperationTest, TheWindowOpensAtTheFirstRefreshAfterFiveSeconds)
{
    CLengthyOperation operation(services, "Exporting...");
    Work(operation, 6000);
    const auto opened = std::find(log.begin(), log.end(), "window @5200");
    ASSERT_NE(opened, log.end());
    EXPECT_EQ(*(opened + 1), "sleep 1");  // no message waiting: yield
    EXPECT_EQ(std::count_if(log.begin(), opened, [](auto& e) { return e.starts_with("window"); }), 0);
}

TEST_F(LengthyOperationTest, ShowAtOnceWaitsForTheFirstRefreshButNeverOverridesMayShow)
{
    CLengthyOperation operation(services, "Transmitting...");
    operation.SetShowAtOnce(true);
    clock.now = 216;  // 12 ticks: not yet
    operation.Update(1, 1);
    EXPECT_FALSE(operation.WindowOpen());
    clock.now = 217;
    operation.Update(1, 1);
    EXPECT_TRUE(operation.WindowOpen());

    CLengthyOperation hidden(services, "Scanning...");
    hidden.SetShowAtOnce(true);
    hidden.SetMayShow(false);
    Work(hidden, 10'000);
    EXPECT_FALSE(hidden.WindowOpen());
}

TEST_F(LengthyOperationTest, StopLatchesAndTheWindowLastsAsLongAsTheOperation)
{
    {
        CLengthyOperation operation(services, "Transmitting...");
        operation.SetShowAtOnce(true);
        Work(operation, 300);
        ASSERT_TRUE(presenter.window.open);
        EXPECT_FALSE(operation.StopRequested());
        presenter.window.stopPressed = true;
        EXPECT_TRUE(operation.StopRequested());
        presenter.window.stopPressed = false;
        Work(operation, 300);
        EXPECT_TRUE(operation.StopRequested());
        EXPECT_TRUE(presenter.window.open);
    }
    EXPECT_FALSE(presenter.window.open);
}

TEST_F(LengthyOperationTest, RefreshesTextsAndDispatchesAtMostTwentyMessages)
{
    CLengthyOperation operation(services, "Exporting...");
    operation.SetShowAtOnce(true);
    source.Post(25);
    clock.now = 300;
    operation.Update(7, 3);
    EXPECT_EQ(source.queue.size(), 5u);
    operation.Update(7, 3);  // within 12 ticks: no refresh
    EXPECT_EQ(source.queue.size(), 5u);

    operation.SetValues(-42, 2);
    EXPECT_EQ(presenter.window.content.valueText, "-42");
    EXPECT_EQ(presenter.window.content.count, 2);
    // 199 bytes then a two-byte character: cut before the character.
    operation.SetLabel(std::string(199, 'a') + "\xC3\xA9");
    EXPECT_EQ(presenter.window.content.label, std::string(199, 'a'));
}

TEST_F(LengthyOperationTest, WaitingCallsForAttentionAfterThirtySeconds)
{
    CLengthyOperation operation(services, "Waiting for the sampler...");
    for (int i = 0; i <= 150; ++i) {  // to exactly 1800 ticks
        operation.Wait(i, 0);
    }
    EXPECT_EQ(log.back(), "sleep 200");
    EXPECT_EQ(log.size(), 151u);  // no attention yet
    operation.Wait(0, 0);
    EXPECT_EQ(log[log.size() - 2], "attention @30200");
    EXPECT_EQ(log.back(), "sleep 200");
}

TEST_F(LengthyOperationTest, MeasuresTimeAcrossTheTickWrap)
{
    // Nine days of uptime: milliseconds × 6 no longer fits 32 bits.
    EXPECT_EQ(TicksFromMilliseconds(777'600'000), 46'656'000u);
    clock.now = 71'582'788'266;  // the 32-bit tick count is about to wrap
    CLengthyOperation operation(services, "Examining sound...");
    Work(operation, 400);
    EXPECT_TRUE(log.empty());
    Work(operation, 200);
    EXPECT_FALSE(log.empty());
}

} // namespace
} // namespace quorvel
