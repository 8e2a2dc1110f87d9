// The application object in this process: the menus it attaches, which
// commands it enables, and the ways it ends.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "FramePlacement.h"
#include "framework/CommandLine.h"
#include "Quorvel.h"
#include "QtTestApplication.h"

namespace quorvel::test {
namespace {

using gui::CQuorvel;

// Runs `application` and calls `during` once it is running; a watchdog quits
// it after a few seconds so a broken quit path fails instead of hanging.
int RunWith(CQuorvel& application, std::function<void()> during)
{
    QTimer::singleShot(0, &application.Frame(), std::move(during));
    bool watchdogFired = false;
    QTimer::singleShot(5000, &application.Frame(), [&] {
        watchdogFired = true;
        application.Quit();
    });
    const int status = application.Run();
    EXPECT_FALSE(watchdogFired);
    return status;
}

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
    EXPECT_FALSE(openEnabled);
    EXPECT_FALSE(cascadeEnabled) << "nothing to arrange without a document window";
}

TEST(QuorvelTest, ClosingTheFrameQuitsAndStoresItsPlacement)
{
    std::filesystem::remove(SettingsFile());
    CQuorvel application(TestApplication(), "", false);
    const int status = RunWith(application, [&] {
        application.Frame().setGeometry(70, 50, 410, 320);
        application.Frame().SetStayOnTop(true);
        application.Frame().close();
    });
    EXPECT_EQ(status, 0);

    const QSettings stored(QSettings::NativeFormat, QSettings::UserScope, "Hollmark", "Quorvel");
    EXPECT_TRUE(stored.value("StayOnTop").toBool());
    CFrameWindow restored;
    gui::RestoreFramePlacement(restored);
    EXPECT_EQ(restored.geometry(), QRect(70, 50, 410, 320));
    EXPECT_TRUE(restored.StayOnTop());
}

TEST(QuorvelTest, HandOverBeforeStartUpFinishedWaitsAndIsNotLost)
{
    CQuorvel application(TestApplication(), "", false);
    const TempFolder folder;
    const std::string existing = folder / "loop.wav";
    WriteBytes(existing, {1});
    application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{existing}));
    EXPECT_TRUE(application.RequestedDocuments().empty());
    const int status = RunWith(application, [&] { application.Quit(); });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(application.RequestedDocuments(), std::vector<std::string>{existing});
}

} // namespace
} // namespace quorvel::test
