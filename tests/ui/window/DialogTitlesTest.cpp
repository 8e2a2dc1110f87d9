// Every dialog's title and texts as the user sees them, read from the dialog
// on screen: the file dialogs and the colour picker carry the texts of
// string table 129, the other dialogs the words their commands name.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include "WindowTestServices.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "ui/app/LeftMixRightDialog.h"
#include "ui/app/OpenAudioDialog.h"
#include "ui/preferences/PreferencesDialog.h"
#include "ui/samplers/InstrumentExportDialog.h"
#include "ui/samplers/SamplerSettingsDialog.h"
#include "ui/window/NoLengthSpecifiedDialog.h"
#include "ui/window/QtFileDialogs.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {
namespace {

std::string Resource(uint32_t entry)
{
    return BuiltInTextResources().Text(StringReference(129, entry));
}

// Runs `open`, which shows a modal dialog, and answers with the title of the
// first modal window that appears; that window is then cancelled.
std::string TitleOfModal(const std::function<void()>& open)
{
    std::string title;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        poll.stop();
        title = modal->windowTitle().toStdString();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    poll.start();
    open();
    poll.stop();
    return title;
}

// The program's file dialogs in place of the scripted ones.
class CQtDialogServices final : public CWindowServices {
public:
    CWavePlayer& Player() override { return player; }
    bool SoundAvailable() override { return false; }
    SSettings& Settings() override { return settings; }
    CFileDialogs& FileDialogs() override { return dialogs; }
    SLengthyOperationServices LengthyOperations() override { return {clock, presenter, loop}; }

    CImmediatePlayer player;
    SSettings settings;
    CQtFileDialogs dialogs;
    CSteadyClock clock;
    CQtMessageSource source;
    CMainLoop loop{source, clock, {}};
    CQtLengthyOperationPresenter presenter;
};

TEST(DialogTitles, FileDialogsAndTheColourPickerCarryTheResourceTexts)
{
    ASSERT_EQ(Resource(10), "Open Sound File");
    ASSERT_EQ(Resource(15), "Pick a Color:");

    CWavePlayer player;
    COpenAudioDialog open(player, false);
    EXPECT_EQ(open.windowTitle().toStdString(), Resource(10));

    SSettings settings;
    CPreferencesDialog preferences(settings, nullptr);
    EXPECT_EQ(TitleOfModal([&] { preferences.ColorButton()->click(); }), Resource(15));

    CQtDialogServices services;
    CQuorvelWindow window(EvenlySlicedDocument(4), services);
    window.Document().SetBars(1);
    EXPECT_EQ(TitleOfModal([&] { window.HandleCommand(CQuorvelWindow::kCmdSaveAs); }), Resource(11));
    EXPECT_EQ(TitleOfModal([&] { window.HandleCommand(CQuorvelWindow::kCmdExportSound); }), Resource(12));
    EXPECT_EQ(TitleOfModal([&] { window.HandleCommand(CQuorvelWindow::kCmdExportGrooveMIDI); }), Resource(13));
    EXPECT_EQ(TitleOfModal([&] { window.HandleCommand(CQuorvelWindow::kCmdExportQLX); }), Resource(14));
}

TEST(DialogTitles, OtherDialogsSayWhatTheirCommandsName)
{
    CSaveBeforeCloseDialog save("Loop.qvl");
    EXPECT_EQ(save.windowTitle().toStdString(), "Save changes before close?");

    CNoLengthSpecifiedDialog length;
    const auto labels = length.findChildren<QLabel*>();
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.front()->text().toStdString(),
              "Loop Length cannot be set to 0 Bars. Please enter the correct number of Bars.");
    bool barsLabel = false;
    for (const QLabel* label : labels)
        barsLabel |= label->text().toStdString() == Resource(83);
    EXPECT_TRUE(barsLabel) << "the field is labelled \"Bars:\"";

    CLeftMixRightDialog channels(nullptr);
    QStringList buttons;
    for (const QPushButton* button : channels.findChildren<QPushButton*>())
        buttons << button->text();
    EXPECT_EQ(buttons, (QStringList{"Left", "Mix", "Right"}));

    CSoundFontExportDialog soundFont("Loop");
    EXPECT_EQ(soundFont.windowTitle().toStdString(), "Export SoundFont File");
    CMixmanExportDialog mixman("Loop");
    EXPECT_EQ(mixman.windowTitle().toStdString(), "Export Mixman TRK File");
    SampleCellExportSettings cellSettings;
    CSampleCellExportDialog sampleCell(cellSettings);
    EXPECT_EQ(sampleCell.windowTitle().toStdString(), "Export SampleCell Instrument");
    EXPECT_EQ(sampleCell.findChild<QCheckBox*>()->text().toStdString(), "Use Template:");

    CExportSoundDialog exportSound("Loop", 44100, "");
    EXPECT_EQ(exportSound.objectName().toStdString(), "Export sound");
}

} // namespace
} // namespace quorvel::test
