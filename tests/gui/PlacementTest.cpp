// The frame's placement and stay-on-top flag survive from one run of the
// real program to the next.
#include <gtest/gtest.h>

#include <QSettings>

#include "../common/TempFolder.h"
#include "ChildProcess.h"
#include "FramePlacement.h"
#include "QtTestApplication.h"
#include "framework/window/FrameWindow.h"

namespace quorvel::test {
namespace {

TEST(PlacementTest, StoredPlacementIsAppliedAndStoredAgainAcrossRuns)
{
    TestApplication();
    const TempFolder folder;
    // What an earlier run would have stored: written through the same code,
    // into the folder the program is pointed at.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder / "config"));
    {
        CFrameWindow earlier;
        earlier.setGeometry(60, 40, 420, 310);
        earlier.SetStayOnTop(true);
        gui::SaveFramePlacement(earlier);
    }
    const std::vector<std::string> environment{"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + folder.Path(),
                                               "XDG_CONFIG_HOME=" + folder / "config"};
    const std::string program = std::string(QUORVEL_BIN_DIR) + "/quorvel";
    for (const char* run : {"first.log", "second.log"}) {
        ChildProcess quorvel(program, {"--quit-after-start", "--trace", folder / run}, environment);
        ASSERT_EQ(quorvel.Wait(), 0) << run;
        EXPECT_TRUE(WaitForLine(folder / run, "shown 60 40 420 310 stay-on-top 1", 0ms))
            << run << ":\n" << ReadText(folder / run);
    }
}

TEST(PlacementTest, DamagedPlacementLeavesTheDefault)
{
    TestApplication();
    const TempFolder folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder.Path()));
    // Where a first run puts the frame.
    CFrameWindow first;
    gui::RestoreFramePlacement(first);
    const QRect firstRun = first.geometry();
    EXPECT_GE(firstRun.width(), 640) << "room for a new document window";

    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Hollmark", "Quorvel")
        .setValue("MainFramePlacement", QByteArray("not a placement"));
    CFrameWindow frame;
    gui::RestoreFramePlacement(frame);
    EXPECT_EQ(frame.geometry(), firstRun);
    EXPECT_FALSE(frame.StayOnTop());
}

} // namespace
} // namespace quorvel::test
