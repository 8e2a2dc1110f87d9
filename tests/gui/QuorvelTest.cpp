// The application object in this process: the menus it attaches, which
// commands it enables, and the ways it ends.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>

#include <cstdlib>
#include <functional>

#include "FramePlacement.h"
#include "framework/CommandLine.h"
#include "framework/window/AlertBox.h"
#include "Quorvel.h"
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

} // namespace
} // namespace quorvel::test
