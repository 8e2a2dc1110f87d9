#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "WindowTestServices.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/WindowControls.h"

namespace quorvel::test {
namespace {

class WindowKeysTest : public ::testing::Test {
protected:
    WindowKeysTest() : window_(EvenlySlicedDocument(8, 4000), services_)
    {
        window_.show();
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
        window_.Controls().SensitivityFader()->setFocus();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window_.Controls().SensitivityFader(), static_cast<Qt::Key>(key), modifiers);
    }
    // A key held down: the first press, then auto-repeated presses.
    void HoldKey(int key, int repeats)
    {
        QWidget* target = window_.Controls().SensitivityFader();
        for (int i = 0; i <= repeats; ++i) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), i > 0);
            QApplication::sendEvent(target, &press);
        }
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }
    // What X11 sends for a key held from `start` for `heldMs`: the press,
    // then every 33 ms a release and a press with the same time stamp (some
    // flagged as repeats, some not), then the real release.
    void HoldKeyAsX11Does(int key, Qt::KeyboardModifiers modifiers, uint64_t start, uint64_t heldMs)
    {
        QWidget* target = window_.Controls().SensitivityFader();
        auto send = [target, key, modifiers](QEvent::Type type, uint64_t at, bool flagged) {
            QKeyEvent event(type, key, modifiers, QString(), flagged);
            event.setTimestamp(at);
            QApplication::sendEvent(target, &event);
        };
        send(QEvent::KeyPress, start, false);
        int pair = 0;
        for (uint64_t at = start + 500; at < start + heldMs; at += 33, ++pair) {
            const bool flagged = pair % 3 == 0;
            send(QEvent::KeyRelease, at, flagged);
            send(QEvent::KeyPress, at, flagged);
        }
        send(QEvent::KeyRelease, start + heldMs, false);
    }
    CSoundDocument& Document() { return window_.Document(); }
    QString SensitivityText() { return window_.Controls().SensitivityText()->text(); }

    CTestServices services_;
    CQuorvelWindow window_;
};

TEST_F(WindowKeysTest, DigitsSetTheSensitivityAndPlusMinusStayInRange)
{
    Key(Qt::Key_0);
    EXPECT_EQ(Document().Sensitivity(), 0);
    EXPECT_TRUE(Document().Modified());
    Key(Qt::Key_9);
    EXPECT_EQ(Document().Sensitivity(), 990);
    EXPECT_EQ(SensitivityText(), "99");
    EXPECT_EQ(window_.Controls().SensitivityFader()->value(), 999);
    Key(Qt::Key_Equal);
    EXPECT_EQ(Document().Sensitivity(), 990);
    Key(Qt::Key_Slash);
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(Document().Sensitivity(), 970);
    EXPECT_EQ(SensitivityText(), "97");

    Key(Qt::Key_0);
    EXPECT_EQ(Document().Sensitivity(), 0);
    Key(Qt::Key_Slash);
    EXPECT_EQ(Document().Sensitivity(), 0);
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(Document().Sensitivity(), 10);
    Key(Qt::Key_4);
    EXPECT_EQ(Document().Sensitivity(), 440);
    EXPECT_EQ(window_.Controls().SensitivityFader()->value(), 999 * 440 / 990);
}

TEST_F(WindowKeysTest, CtrlDigitsChooseToolsAndLeaveTheSensitivity)
{
    const int32_t sensitivity = Document().Sensitivity();
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Document().Tool(), DocumentTool::Lock);
    EXPECT_TRUE(window_.Controls().Tool(2)->isChecked());
    Key(Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(Document().Tool(), DocumentTool::Pen);
    Key(Qt::Key_7, Qt::ControlModifier);
    Key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(Document().Tool(), DocumentTool::Pen);
    EXPECT_EQ(Document().Sensitivity(), sensitivity);
    // Choosing a tool is no change of the document.
    EXPECT_FALSE(Document().Modified());
}

TEST_F(WindowKeysTest, SpaceActsOncePerPressNotOnAutoRepeat)
{
    HoldKey(Qt::Key_Space, 5);
    EXPECT_TRUE(services_.player.IsPlaying(Document().Sound()));
    EXPECT_TRUE(window_.Controls().Transport(TransportButton::PlayLoop)->isChecked());
    HoldKey(Qt::Key_Space, 3);
    EXPECT_FALSE(services_.player.IsPlaying(Document().Sound()));
    EXPECT_FALSE(window_.Controls().Transport(TransportButton::PlayLoop)->isChecked());

    // Without sound output the transport keys press disabled buttons.
    services_.soundAvailable = false;
    window_.Refresh();
    EXPECT_FALSE(window_.Controls().Transport(TransportButton::Stop)->isEnabled());
    HoldKey(Qt::Key_Space, 0);
    EXPECT_FALSE(services_.player.IsPlaying(Document().Sound()));
}

TEST_F(WindowKeysTest, AHeldKeyActsOncePerPhysicalPressWhateverTheRepeatsSay)
{
    auto playing = [this] { return services_.player.IsPlaying(Document().Sound()); };
    // Space held for 1.5 s: Play loop once, and it keeps playing.
    HoldKeyAsX11Does(Qt::Key_Space, Qt::NoModifier, 10000, 1500);
    EXPECT_TRUE(playing());
    EXPECT_EQ(Document().GetPlayMode(), PlayMode::Loop);
    // A second press a moment later: Stop.
    HoldKeyAsX11Does(Qt::Key_Space, Qt::NoModifier, 11600, 900);
    EXPECT_FALSE(playing());
    // Two quick taps, as fast as a finger goes: two presses.
    HoldKeyAsX11Does(Qt::Key_Space, Qt::NoModifier, 13000, 60);
    HoldKeyAsX11Does(Qt::Key_Space, Qt::NoModifier, 13090, 60);
    EXPECT_FALSE(playing());

    // The other first-press keys of the numeric pad and Up: each held key
    // starts its play mode once; held Stop (pad 0) leaves nothing playing.
    const std::vector<std::pair<int, PlayMode>> transport{
        {Qt::Key_Enter, PlayMode::Loop}, {Qt::Key_8, PlayMode::CurrentSlice},
        {Qt::Key_7, PlayMode::PreviousSlice}, {Qt::Key_9, PlayMode::NextSlice}};
    uint64_t at = 20000;
    for (const auto& [key, mode] : transport) {
        Document().SetCurrentPosition(8000);
        HoldKeyAsX11Does(key, Qt::KeypadModifier, at, 1500);
        at += 2000;
        EXPECT_TRUE(playing()) << key;
        EXPECT_EQ(Document().GetPlayMode(), mode) << key;
        if (mode == PlayMode::NextSlice) {
            EXPECT_EQ(Document().CurrentPosition(), 12000) << "moved on once, not once per repeat";
        }
        HoldKeyAsX11Does(Qt::Key_0, Qt::KeypadModifier, at, 1500);
        at += 2000;
        EXPECT_FALSE(playing()) << key;
    }
    HoldKeyAsX11Does(Qt::Key_Up, Qt::NoModifier, at, 1500);
    EXPECT_EQ(Document().GetPlayMode(), PlayMode::CurrentSlice);
    EXPECT_TRUE(playing());
}

TEST_F(WindowKeysTest, LosingTheFocusForgetsTheKeysHeld)
{
    auto send = [this](QEvent::Type type, uint64_t at) {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QString(), false);
        event.setTimestamp(at);
        QApplication::sendEvent(window_.Controls().SensitivityFader(), &event);
    };
    send(QEvent::KeyPress, 1000);
    EXPECT_TRUE(services_.player.IsPlaying(Document().Sound()));
    // The release happens while another program has the focus.
    QLineEdit elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    window_.Controls().SensitivityFader()->setFocus();
    send(QEvent::KeyPress, 5000);
    EXPECT_FALSE(services_.player.IsPlaying(Document().Sound())) << "the new press stopped playback";
}

TEST_F(WindowKeysTest, ArrowsStepThroughTheActiveSlicesWithoutPlaying)
{
    Key(Qt::Key_Right);
    ASSERT_NE(Document().CurrentSlice(), nullptr);
    EXPECT_EQ(Document().CurrentSlice()->position, 4000);
    Key(Qt::Key_6, Qt::KeypadModifier);
    EXPECT_EQ(Document().CurrentPosition(), 8000);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(Document().CurrentPosition(), 0);
    Key(Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(Document().CurrentPosition(), 28000);
    EXPECT_FALSE(services_.player.IsPlaying(Document().Sound()));

    Key(Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(Document().CurrentPosition(), Document().Sound()->LoopEnd());
    Key(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(Document().CurrentPosition(), Document().Sound()->LoopStart());
}

TEST_F(WindowKeysTest, FTogglesScrollingAndTypingInAFieldIsLeftAlone)
{
    const bool scroll = services_.settings.application.scrollDuringPlayback;
    Key(Qt::Key_F);
    EXPECT_NE(services_.settings.application.scrollDuringPlayback, scroll);
    EXPECT_EQ(services_.preferenceChanges, 1);

    QLineEdit* bars = window_.Controls().BarsField();
    bars->setFocus();
    bars->selectAll();
    QTest::keyClicks(bars, "12");
    EXPECT_EQ(Document().Sensitivity(), 990); // the digits went into the field
    QTest::keyClick(bars, Qt::Key_Return);
    EXPECT_EQ(Document().Bars(), 12);
}

} // namespace
} // namespace quorvel::test
