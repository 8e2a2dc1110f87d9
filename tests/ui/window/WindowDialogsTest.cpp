#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "ui/window/NoLengthSpecifiedDialog.h"
#include "ui/window/QtFileDialogs.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {
namespace {

TEST(NoLengthSpecifiedDialog, OKNeedsAtLeastOneBarAndHoldsBarsAt666)
{
    CNoLengthSpecifiedDialog dialog;
    EXPECT_FALSE(dialog.OKButton()->isEnabled());
    dialog.BarsField()->setText("0");
    EXPECT_FALSE(dialog.OKButton()->isEnabled());
    dialog.BarsField()->setText("999");
    ASSERT_TRUE(dialog.OKButton()->isEnabled());
    dialog.OKButton()->click();
    EXPECT_EQ(dialog.result(), 666);

    CModalDialog::SetAutoAnswer(3);
    EXPECT_EQ(dialog.AskBars(), 3);
    CModalDialog::SetAutoAnswer(0);
    EXPECT_EQ(dialog.AskBars(), std::nullopt);
    CModalDialog::SetAutoAnswer(std::nullopt);
}

TEST(SaveBeforeCloseDialog, EachButtonEndsWithItsAnswer)
{
    CSaveBeforeCloseDialog dialog("Loop.aif");
    EXPECT_EQ(dialog.windowTitle(), "Save changes before close?");
    dialog.NoButton()->click();
    EXPECT_EQ(dialog.result(), CSaveBeforeCloseDialog::No);
    dialog.YesButton()->click();
    EXPECT_EQ(dialog.result(), CSaveBeforeCloseDialog::Yes);
    dialog.reject();
    EXPECT_EQ(dialog.result(), CSaveBeforeCloseDialog::Cancel);
}

TEST(ExportSoundDialog, OffersTheTypesAndPreselectsTheSoundsRate)
{
    CExportSoundDialog dialog("Loop", 22050, "/tmp");
    EXPECT_EQ(dialog.windowTitle(), "Export Sound");
    EXPECT_EQ(dialog.nameFilters(),
              (QStringList{"Audio IFF (*.aif *.aiff)", "Wave File (*.wav *.wave)", "FLAC File (*.flac)"}));
    EXPECT_EQ(dialog.RateList()->currentData().toInt(), 22050);
    EXPECT_EQ(dialog.RateList()->count(), 3);
    EXPECT_FALSE(dialog.Choice().wave);

    dialog.selectNameFilter(dialog.nameFilters()[1]);
    emit dialog.filterSelected(dialog.nameFilters()[1]);
    EXPECT_EQ(dialog.defaultSuffix(), "wav");
    dialog.RateList()->setCurrentIndex(dialog.RateList()->findData(48000));
    const SSoundExportChoice choice = dialog.Choice();
    EXPECT_TRUE(choice.wave);
    EXPECT_EQ(choice.sampleRate, 48000);

    dialog.selectNameFilter(dialog.nameFilters()[2]);
    emit dialog.filterSelected(dialog.nameFilters()[2]);
    EXPECT_EQ(dialog.defaultSuffix(), "flac");
    EXPECT_TRUE(dialog.Choice().flac);
    EXPECT_FALSE(dialog.Choice().wave);

    CExportSoundDialog usual("Loop", 44100, "/tmp");
    EXPECT_EQ(usual.RateList()->count(), 2);
    EXPECT_EQ(usual.RateList()->currentText(), "44.1 kHz");
}

} // namespace
} // namespace quorvel::test
