// The frame's placement and stay-on-top flag survive from one run of the
// real program to the next, in the preferences folder and nowhere else.
#include <gtest/gtest.h>

#include <QSettings>

#include <cstdlib>
#include <filesystem>

#include "../common/TempFolder.h"
#include "ChildProcess.h"
#include "FramePlacement.h"
#include "QtTestApplication.h"
#include "framework/window/FrameWindow.h"

namespace quorvel::test {
namespace {

// Points this process's preferences folder at `folder` for the test's span.
class PreferencesFolderOf {
public:
    explicit PreferencesFolderOf(const std::string& folder) : previous_(std::getenv("QUORVEL_CONFIG_DIR"))
    {
        std::filesystem::create_directories(folder);
        ::setenv("QUORVEL_CONFIG_DIR", folder.c_str(), 1);
    }
    ~PreferencesFolderOf()
    {
        if (previous_.empty())
            ::unsetenv("QUORVEL_CONFIG_DIR");
        else
            ::setenv("QUORVEL_CONFIG_DIR", previous_.c_str(), 1);
    }

private:
    std::string previous_;
};

TEST(PlacementTest, StoredPlacementIsAppliedAndStoredAgainAcrossRunsInThePreferencesFolderOnly)
{
    TestApplication();
    const TempFolder folder;
    const std::string preferences = folder / "preferences";
    {
        // What an earlier run would have stored: written through the same
        // code, into the folder the program is pointed at.
        const PreferencesFolderOf earlierRun(preferences);
        CFrameWindow earlier;
        earlier.setGeometry(60, 40, 420, 310);
        earlier.SetStayOnTop(true);
        gui::SaveFramePlacement(earlier);
    }
    ASSERT_TRUE(std::filesystem::exists(preferences + "/Quorvel.conf"));

    // The user's own folders, which a run with its own preferences folder
    // must leave alone.
    const std::vector<std::string> environment{"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + folder.Path(),
                                               "HOME=" + folder / "home", "XDG_CONFIG_HOME=" + folder / "config",
                                               "QUORVEL_CONFIG_DIR=" + preferences};
    const std::string program = std::string(QUORVEL_BIN_DIR) + "/quorvel";
    for (const char* run : {"first.log", "second.log"}) {
        ChildProcess quorvel(program, {"--quit-after-start", "--trace", folder / run}, environment);
        ASSERT_EQ(quorvel.Wait(), 0) << run;
        EXPECT_TRUE(WaitForLine(folder / run, "shown 60 40 420 310 stay-on-top 1", 0ms))
            << run << ":\n" << ReadText(folder / run);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "config")) << "nothing written beside the preferences folder";
    EXPECT_FALSE(std::filesystem::exists(folder / "home"));
    EXPECT_TRUE(std::filesystem::exists(preferences + "/Quorvel Preferences.prf"));
}

TEST(PlacementTest, DamagedPlacementLeavesTheDefault)
{
    TestApplication();
    const TempFolder folder;
    const PreferencesFolderOf preferences(folder.Path());
    // Where a first run puts the frame.
    CFrameWindow first;
    gui::RestoreFramePlacement(first);
    const QRect firstRun = first.geometry();
    EXPECT_GE(firstRun.width(), 640) << "room for a new document window";

    QSettings(gui::SettingsFilePath(), QSettings::IniFormat)
        .setValue("MainFramePlacement", QByteArray("not a placement"));
    CFrameWindow frame;
    gui::RestoreFramePlacement(frame);
    EXPECT_EQ(frame.geometry(), firstRun);
    EXPECT_FALSE(frame.StayOnTop());
}

} // namespace
} // namespace quorvel::test
