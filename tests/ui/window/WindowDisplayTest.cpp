#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include <gtest/gtest.h>

#include "WindowTestServices.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/WindowControls.h"

namespace quorvel::test {
namespace {

// Two seconds at 44100 Hz, slices at 0, 1000, 2000, 3000.
class WindowDisplayTest : public ::testing::Test {
protected:
    WindowDisplayTest()
        : window_(DocumentWithSlices(88200, {NormalSlice(0), NormalSlice(1000), NormalSlice(2000), NormalSlice(3000)}),
                  services_)
    {
    }
    CSoundDocument& Document() { return window_.Document(); }
    CWindowControls& Controls() { return window_.Controls(); }

    CTestServices services_;
    CQuorvelWindow window_;
};

TEST_F(WindowDisplayTest, LengthControlsShowTheTempoAndMarkTheDocument)
{
    EXPECT_EQ(Controls().TempoText()->text(), "  0.000 BPM");
    Controls().SignPopup()->setCurrentIndex(2); // 4/4, as it was: no change
    EXPECT_FALSE(Document().Modified());
    Controls().BarsField()->setText("1");
    emit Controls().BarsField()->editingFinished();
    EXPECT_EQ(Document().Tempo(), 120000);
    EXPECT_EQ(Controls().TempoText()->text(), "120.000 BPM");
    EXPECT_TRUE(Document().Modified());

    Controls().BeatsPopup()->setCurrentIndex(1);
    Controls().SignPopup()->setCurrentIndex(4);
    EXPECT_EQ(Document().Beats(), 1);
    EXPECT_EQ(Document().TimeSignatureIndex(), 4);
    EXPECT_EQ(Document().LoopLengthInTicks(), (1 * 6 + 1) * 480);

    Controls().BarsField()->setText("");
    emit Controls().BarsField()->editingFinished();
    EXPECT_EQ(Document().Bars(), 0);
    EXPECT_EQ(Controls().BarsField()->text(), "0");
}

TEST_F(WindowDisplayTest, PitchModeEnablesTheNewTempoFieldWhichReadsDecimals)
{
    EXPECT_FALSE(Controls().NewTempoField()->isEnabled());
    EXPECT_FALSE(Controls().NewTempoLabel()->isEnabled());
    EXPECT_EQ(Controls().NewTempoField()->text(), "120.000");
    window_.HandleCommand(CQuorvelWindow::kCmdPitchToNewTempo);
    EXPECT_TRUE(Document().PitchMode());
    EXPECT_TRUE(Controls().Option(OptionButton::PitchMode)->isChecked());
    EXPECT_TRUE(Controls().NewTempoField()->isEnabled());
    EXPECT_TRUE(window_.CommandStatus(CQuorvelWindow::kCmdPitchToNewTempo)->checked);

    Controls().NewTempoField()->setText("85.5");
    emit Controls().NewTempoField()->editingFinished();
    EXPECT_EQ(Document().NewTempo(), 85500);
    EXPECT_EQ(Controls().NewTempoField()->text(), "85.500");
    Controls().NewTempoField()->setText("0");
    emit Controls().NewTempoField()->editingFinished();
    EXPECT_EQ(Document().NewTempo(), 1);
}

TEST_F(WindowDisplayTest, OptionButtonsAndMenuChecksFollowEachOther)
{
    Controls().Option(OptionButton::OneSample)->click();
    EXPECT_FALSE(Document().SeparateSamples());
    EXPECT_TRUE(window_.CommandStatus(CQuorvelWindow::kCmdTransmitAsOneSample)->checked);
    window_.HandleCommand(CQuorvelWindow::kCmdNormalize);
    window_.HandleCommand(CQuorvelWindow::kCmdSilenceSelected);
    EXPECT_TRUE(Controls().Option(OptionButton::Normalize)->isChecked());
    EXPECT_TRUE(Controls().Option(OptionButton::SilenceSelected)->isChecked());
    window_.HandleCommand(CQuorvelWindow::kCmdNormalize);
    EXPECT_FALSE(Document().TransmitNormalized());
    EXPECT_FALSE(window_.CommandStatus(CQuorvelWindow::kCmdNormalize)->checked);
    EXPECT_FALSE(window_.CommandStatus(CQuorvelWindow::kCmdTransmit)->enabled);
    EXPECT_FALSE(window_.CommandStatus(4711));
}

TEST_F(WindowDisplayTest, StretchFaderSnapsToItsStepsAndNamesThem)
{
    EXPECT_EQ(Controls().StretchText()->text(), "Off");
    Controls().StretchFader()->setValue(500); // step trunc(500 x 13 / 999) = 6
    EXPECT_EQ(Document().StretchIndex(), 6);
    EXPECT_EQ(Controls().StretchText()->text(), "30%");
    EXPECT_EQ(Controls().StretchFader()->value(), 500); // already inside step 6
    Document().SetStretchIndex(13);
    window_.Refresh();
    EXPECT_EQ(Controls().StretchFader()->value(), 999);
    EXPECT_EQ(Controls().StretchText()->text(), "100%");
}

TEST_F(WindowDisplayTest, SelectionCommandsActOnShownSlices)
{
    EXPECT_TRUE(window_.CommandStatus(CQuorvelWindow::kCmdSelectAll)->enabled);
    EXPECT_FALSE(window_.CommandStatus(CQuorvelWindow::kCmdInvertSelection)->enabled);
    Document().Slices().At(3).aboveThreshold = false;
    window_.HandleCommand(CQuorvelWindow::kCmdSelectAll);
    EXPECT_TRUE(Document().Slices().At(0).selected && Document().Slices().At(2).selected);
    EXPECT_FALSE(Document().Slices().At(3).selected);
    Document().Slices().At(1).selected = false;
    window_.HandleCommand(CQuorvelWindow::kCmdInvertSelection);
    EXPECT_TRUE(Document().Slices().At(1).selected);
    EXPECT_FALSE(Document().Slices().At(0).selected);
    EXPECT_FALSE(Document().Slices().At(3).selected);
}

} // namespace
} // namespace quorvel::test
