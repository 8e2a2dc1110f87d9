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
