// The application object in this process: the menus it attaches, which
// commands it enables, and the ways it ends.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <functional>

#include "FramePlacement.h"
#include "framework/CommandLine.h"
#include "framework/window/AlertBox.h"
#include "Quorvel.h"
#include "samplers/SamplerModels.h"
#include "ui/app/ApplicationServices.h"
#include "ui/samplers/SamplerSettingsDialog.h"
#include "QtTestApplication.h"
#include "RunApplication.h"
#include "TestSounds.h"
#include "../common/TempFolder.h"

namespace quorvel::test {
namespace {

using gui::CQuorvel;

QAction* FindAction(QMenuBar& bar, const QString& menuTitle, const QString& itemStart)
{
    for (QAction* menu : bar.actions()) {
        if (menu->text().remove('&') != menuTitle || !menu->menu())
            continue;
        for (QAction* item : menu->menu()->actions())
            if (item->text().remove('&').startsWith(itemStart))
                return item;
    }
    return nullptr;
}

TEST(QuorvelTest, AttachesTheMenusOfResource128AndEnablesOnlyWhatWorks)
{
    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    QStringList titles;
    bool openEnabled = true;
    bool cascadeEnabled = true;
    const int status = RunWith(application, [&] {
        QMenuBar& bar = *application.Frame().menuBar();
        for (QAction* menu : bar.actions())
            titles << menu->text().remove('&');
        application.MenuBar()->UpdateAll();
        openEnabled = FindAction(bar, "File", "Open")->isEnabled();
        cascadeEnabled = FindAction(bar, "Windows", "Cascade")->isEnabled();
        QAction* quit = FindAction(bar, "File", "Quit");
        ASSERT_TRUE(quit->isEnabled());
        quit->trigger();
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(titles, QStringList({"File", "Edit", "Sampler", "Windows", "Help"}));
    EXPECT_TRUE(openEnabled);
    EXPECT_FALSE(cascadeEnabled) << "nothing to arrange without a document window";
}

TEST(QuorvelTest, ClosingTheFrameQuitsAndStoresItsPlacement)
{
    const TempFolder preferences;
    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    const int status = RunWith(
        application,
        [&] {
            application.Frame().setGeometry(70, 50, 410, 320);
            application.Frame().SetStayOnTop(true);
            application.Frame().close();
        },
        5000, preferences.Path());
    EXPECT_EQ(status, 0);

    ::setenv("QUORVEL_CONFIG_DIR", preferences.Path().c_str(), 1);
    const QSettings stored(QString::fromStdString(preferences / "Quorvel.conf"), QSettings::IniFormat);
    EXPECT_TRUE(stored.value("StayOnTop").toBool());
    CFrameWindow restored;
    gui::RestoreFramePlacement(restored);
    EXPECT_EQ(restored.geometry(), QRect(70, 50, 410, 320));
    EXPECT_TRUE(restored.StayOnTop());
}

TEST(QuorvelTest, HandOverBeforeStartUpFinishedWaitsAndIsNotLost)
{
    CAlertBox::SetResponder([](const AlertRecord&) { return AlertResultForSlot(0); });
    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    const TempFolder folder;
    const std::string existing = folder / "loop.wav";
    WriteLoopWav(existing);
    application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{existing}));
    EXPECT_TRUE(application.DocumentWindows().empty());
    size_t windows = 0;
    const int status = RunWith(application, [&] {
        windows = application.DocumentWindows().size();
        application.Quit();
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(windows, 1u);
    CAlertBox::SetResponder({});
    CModalDialog::SetAutoAnswer(std::nullopt);
}

// Installs a sampler of `typeId`, opens Edit > Sampler Settings and hands
// the dialog to `read` before closing it.
void ReadSamplerSettings(CQuorvel& application, uint32_t typeId,
                         const std::function<void(CSamplerSettingsDialog&)>& read)
{
    application.Services().Samplers().Add(*FindSamplerModel(typeId), "Rack");
    const std::optional<int> autoAnswer = CModalDialog::AutoAnswer();
    CModalDialog::SetAutoAnswer(std::nullopt);
    Later(application, 50, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<CSamplerSettingsDialog*>(widget); dialog && dialog->isVisible()) {
                read(*dialog);
                dialog->accept();
            }
    });
    QAction* settings = FindAction(*application.Frame().menuBar(), "Edit", "Sampler Settings");
    ASSERT_NE(settings, nullptr);
    settings->trigger();
    CModalDialog::SetAutoAnswer(autoAnswer);
}

// The emulated sampler's Loopback ports are registered at start-up and show
// where the program shows MIDI ports: the system report and the Sampler
// Settings dialog opened from the Edit menu.
TEST(QuorvelTest, EmulatedSamplerPortsShowInTheSystemReportAndTheSamplerSettings)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "sds", 1);
    ::unsetenv("QUORVEL_EMULATOR_DIR");
    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    std::string report;
    bool midiAvailable = false;
    QStringList inputs, outputs;
    const int status = RunWith(application, [&] {
        report = application.SystemReport();
        midiAvailable = application.MidiAvailable();
        ReadSamplerSettings(application, 4100, [&](CSamplerSettingsDialog& dialog) { // AKAI S3000 via MIDI
            for (int i = 0; i < dialog.MidiIn()->count(); ++i)
                inputs << dialog.MidiIn()->itemText(i);
            for (int i = 0; i < dialog.MidiOut()->count(); ++i)
                outputs << dialog.MidiOut()->itemText(i);
        });
        application.Quit();
    });
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(midiAvailable);
    EXPECT_NE(report.find("MIDI ports:\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  In: Emulated SDS (Loopback)\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  Out: Emulated SDS (Loopback)\n"), std::string::npos) << report;
    EXPECT_TRUE(inputs.contains("Emulated SDS")) << inputs.join(", ").toStdString();
    EXPECT_TRUE(outputs.contains("Emulated SDS")) << outputs.join(", ").toStdString();
}

// The emulated SCSI samplers sit on the Loopback bus registered at start-up,
// which shows in the system report and in the Sampler Settings' bus popup.
TEST(QuorvelTest, EmulatedScsiSamplersShowInTheSystemReportAndTheSamplerSettings)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "5121,smdi", 1);
    ::unsetenv("QUORVEL_EMULATOR_DIR");
    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    std::string report;
    bool scsiAvailable = false;
    QStringList buses;
    const int status = RunWith(application, [&] {
        report = application.SystemReport();
        scsiAvailable = application.ScsiAvailable();
        ReadSamplerSettings(application, 5121, [&](CSamplerSettingsDialog& dialog) { // E-mu E4K via SCSI
            for (int i = 0; i < dialog.ScsiBus()->count(); ++i)
                buses << dialog.ScsiBus()->itemText(i);
        });
        application.Quit();
    });
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(scsiAvailable);
    EXPECT_NE(report.find("SCSI buses:\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  Loopback (Loopback), adapter id 7\n"
                          "    0: \"E-mu\" \"Emulator 4K\"\n"
                          "    1: \"Quorvel\" \"SMDI Sampler\"\n"),
              std::string::npos)
        << report;
    EXPECT_TRUE(buses.contains("Loopback")) << buses.join(", ").toStdString();
}

} // namespace
} // namespace quorvel::test
