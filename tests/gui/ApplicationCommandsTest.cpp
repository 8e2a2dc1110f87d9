// The application's commands in this process: quitting and closing against
// windows that refuse, opening files from every origin with the alerts each
// failure gives, and the recent-documents list.
#include <gtest/gtest.h>

#include <QMenu>

#include <set>
#include <vector>

#include "../common/TempFolder.h"
#include "QtTestApplication.h"
#include "RunApplication.h"
#include "TestSounds.h"
#include "document/SoundDocument.h"
#include "framework/CommandLine.h"
#include "framework/EmbeddedResources.h"
#include "framework/window/AlertBox.h"
#include "framework/window/DocumentWindow.h"
#include "ui/app/ApplicationMenuItems.h"
#include "ui/app/ApplicationMenus.h"
#include "ui/app/ApplicationServices.h"
#include "ui/app/LeftMixRightDialog.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {
namespace {

using gui::CQuorvel;

// A document window whose answer to "may I close?" the test decides.
class CScriptedWindow final : public CDocumentWindow {
public:
    CScriptedWindow(bool& mayClose, int& asked) : mayClose_(mayClose), asked_(asked) {}
    bool MayClose() override
    {
        ++asked_;
        return mayClose_;
    }

private:
    bool& mayClose_;
    int& asked_;
};

std::vector<int16_t> FirstSamples(const WAVE_SAMPLE& sound)
{
    std::vector<int16_t> samples;
    for (int32_t i = 0; i < sound.Length(); ++i)
        samples.push_back(sound.Value(i));
    return samples;
}

std::vector<int16_t> RightChannelOf(const std::string& path)
{
    return FirstSamples(*LoadSound(CFileSpec(path), ChannelMode::Right));
}

class ApplicationCommandsTest : public ::testing::Test {
protected:
    ApplicationCommandsTest()
    {
        TestApplication();
        CAlertBox::SetResponder([this](const AlertRecord& record) {
            alerts.push_back(record.title.empty() ? record.message : "[" + record.title + "]" + record.message);
            return AlertResultForSlot(0);
        });
        application.UseSilentCardOnly();
    }
    ~ApplicationCommandsTest() override
    {
        CAlertBox::SetResponder({});
        CModalDialog::SetAutoAnswer(std::nullopt);
    }

    // Opens `names` as a later copy would hand them over, then quits.
    void HandOver(const std::vector<std::string>& paths)
    {
        RunWith(application, [&] {
            application.ReceiveCommandLine(JoinCommandLine(paths));
            windowsAfterHandOver = application.DocumentWindows().size();
            for (CQuorvelWindow* window : application.DocumentWindows())
                if (std::string(window->Document().Sound()->Name()).find("stereo") != std::string::npos)
                    stereoSamples = FirstSamples(*window->Document().Sound());
            CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
            application.Quit();
        });
    }

    TempFolder folder;
    CQuorvel application{TestApplication(), "", false};
    std::vector<std::string> alerts;
    size_t windowsAfterHandOver = 0;
    std::vector<int16_t> stereoSamples;
};

TEST_F(ApplicationCommandsTest, QuitWithAModifiedDocumentIsCancelledAndTheProgramKeepsRunning)
{
    const std::string loop = folder / "loop.wav";
    WriteLoopWav(loop);
    RunState stateAfterCancel = RunState::kQuit;
    size_t windowsAfterCancel = 0;
    const int status = RunWith(application, [&] {
        application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{loop}));
        ASSERT_EQ(application.DocumentWindows().size(), 1u);
        application.DocumentWindows()[0]->Document().SetBars(3);
        CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::Cancel);
        application.Quit();
        Later(application, 50, [&] {
            stateAfterCancel = application.Loop().State();
            windowsAfterCancel = application.DocumentWindows().size();
            CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
            application.Quit();
        });
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(stateAfterCancel, RunState::kRunning);
    EXPECT_EQ(windowsAfterCancel, 1u);
}

TEST_F(ApplicationCommandsTest, CloseAllStopsAtTheSecondWindowWhenItRefuses)
{
    bool yes = true, no = false;
    int asked[3] = {};
    std::vector<CDocumentWindow*> remaining;
    RunWith(application, [&] {
        for (int i = 0; i < 3; ++i)
            application.Frame().AddDocumentWindow(new CScriptedWindow(i == 1 ? no : yes, asked[i]));
        // Front first: the last one added is in front.
        const std::vector<CDocumentWindow*> before = application.Frame().DocumentWindows();
        application.DispatchCommand(CApplication::kCmdCloseAll);
        for (CDocumentWindow* window : application.Frame().DocumentWindows())
            if (!window->Closing())
                remaining.push_back(window);
        EXPECT_EQ(remaining, std::vector<CDocumentWindow*>(before.begin() + 1, before.end()));
        yes = no = true;
        application.Quit();
    });
    EXPECT_EQ(asked[2], 1) << "the front window was asked first and closed";
    EXPECT_EQ(remaining.size(), 2u);
}

TEST_F(ApplicationCommandsTest, HandOverOpensAWindowPerFileAndAsksWhichChannelOfAStereoFile)
{
    const std::string mono = folder / "mono.wav";
    const std::string stereo = folder / "stereo loop.wav";
    WriteLoopWav(mono, 1);
    WriteLoopWav(stereo, 2);
    CModalDialog::SetAutoAnswer(CLeftMixRightDialog::kRight);
    HandOver({mono, stereo});
    EXPECT_EQ(stereoSamples, RightChannelOf(stereo));
    EXPECT_NE(stereoSamples, FirstSamples(*LoadSound(CFileSpec(stereo), ChannelMode::Left)));
    EXPECT_EQ(windowsAfterHandOver, 2u);
    EXPECT_TRUE(alerts.empty());
    const auto& recent = application.Services().Settings().recentDocuments.Paths();
    EXPECT_EQ(std::set<std::string>(recent.begin(), recent.end()), (std::set<std::string>{mono, stereo}))
        << "closed windows leave their files on the recent list";
}

TEST_F(ApplicationCommandsTest, ClosingTheStereoQuestionOpensNothing)
{
    const std::string stereo = folder / "stereo.wav";
    WriteLoopWav(stereo, 2);
    CModalDialog::SetAutoAnswer(0);
    HandOver({stereo});
    EXPECT_EQ(windowsAfterHandOver, 0u);
}

TEST_F(ApplicationCommandsTest, UnreadableFileOnTheCommandLineGivesNamedAlertAndNoWindow)
{
    const std::string broken = folder / "broken.wav";
    WriteBytes(broken, {'R', 'I', 'F', 'F', 1, 2, 3});
    HandOver({broken});
    EXPECT_EQ(windowsAfterHandOver, 0u);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], "[Couldn't load sound file \"broken.wav\"!]The file is in an unknown format or corrupt.");
    EXPECT_TRUE(application.Services().Settings().recentDocuments.Paths().empty());
}

TEST_F(ApplicationCommandsTest, UnreadableFileFromTheOpenDialogGivesAlert26)
{
    const std::string broken = folder / "broken.aif";
    WriteBytes(broken, {'F', 'O', 'R', 'M'});
    COpenAudioDialog::SetResponder([&] { return std::optional<SOpenChoice>(SOpenChoice{broken, ChannelMode::Left}); });
    size_t windows = 9;
    RunWith(application, [&] {
        application.DispatchCommand(CQuorvel::kCmdOpen);
        windows = application.DocumentWindows().size();
        application.Quit();
    });
    COpenAudioDialog::SetResponder([] { return std::optional<SOpenChoice>(); });
    EXPECT_EQ(windows, 0u);
    ASSERT_FALSE(alerts.empty());
    EXPECT_EQ(alerts.back(), "[Couldn't load Quorvel! document file!]The file may be damaged.");
}

TEST_F(ApplicationCommandsTest, DocumentRestoresItsSettingsAndADamagedOneOpensAsTheSound)
{
    const std::string intact = folder / "intact.qvl";
    const std::string damaged = folder / "damaged.qvl";
    WriteLoopDocument(intact);
    // The same file with the document record's magic broken.
    std::vector<uint8_t> bytes = ReadBytes(intact);
    for (size_t i = 0; i + 8 < bytes.size(); ++i)
        if (bytes[i] == 0xD1 && bytes[i + 1] == 0xDA && bytes[i + 2] == 0xDE && bytes[i + 3] == 0xD0)
            bytes[i] = 0;
    WriteBytes(damaged, bytes);

    int32_t intactBars = 0, damagedBars = -1;
    int intactSignature = -1;
    RunWith(application, [&] {
        application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{intact}));
        ASSERT_EQ(application.DocumentWindows().size(), 1u);
        intactBars = application.DocumentWindows()[0]->Document().Bars();
        intactSignature = application.DocumentWindows()[0]->Document().TimeSignatureIndex();
        EXPECT_TRUE(alerts.empty());

        application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{damaged}));
        ASSERT_EQ(application.DocumentWindows().size(), 2u);
        damagedBars = application.DocumentWindows()[0]->Document().Bars();
        application.Quit();
    });
    EXPECT_EQ(intactBars, 5);
    EXPECT_EQ(intactSignature, 4) << "6/8";
    EXPECT_EQ(damagedBars, 0) << "a plain sound starts without bars";
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], "[Couldn't load Quorvel! document file!]The Quorvel! information in this file is damaged. "
                         "Extracting audio...");
}

TEST_F(ApplicationCommandsTest, RecentDocumentThatVanishedIsRemovedWithAlert17)
{
    const std::string kept = folder / "kept.wav";
    const std::string vanished = folder / "vanished.wav";
    WriteLoopWav(kept);
    CRecentDocuments& recent = application.Services().Settings().recentDocuments;
    recent.Add(kept);
    recent.Add(vanished); // now first
    size_t windowsAfterVanished = 9, windowsAfterKept = 0;
    RunWith(application, [&] {
        application.DispatchCommand(kCmdOpenRecentFirst);
        windowsAfterVanished = application.DocumentWindows().size();
        application.DispatchCommand(kCmdOpenRecentFirst); // `kept` moved up
        windowsAfterKept = application.DocumentWindows().size();
        application.Quit();
    });
    EXPECT_EQ(windowsAfterVanished, 0u);
    EXPECT_EQ(windowsAfterKept, 1u);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], "File not found.");
    EXPECT_EQ(std::vector<std::string>(recent.Paths().begin(), recent.Paths().end()), std::vector<std::string>{kept});
}

TEST_F(ApplicationCommandsTest, MenusListRecentDocumentsAndOpenWindows)
{
    const std::string loop = folder / "loop.wav";
    WriteLoopWav(loop);
    application.Services().Settings().recentDocuments.Add(loop);
    QStringList fileItems, windowItems;
    bool windowItemChecked = false;
    RunWith(application, [&] {
        application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{loop}));
        CMenuBar& bar = *application.MenuBar();
        bar.UpdateAll();
        for (QAction* action : bar.MenuWithCommand(CQuorvel::kCmdOpen)->Menu()->actions())
            fileItems << (action->isSeparator() ? "-" : action->text());
        CMenu& windows = *bar.MenuWithCommand(CApplication::kCmdCloseAll);
        for (QAction* action : windows.Menu()->actions())
            windowItems << (action->isSeparator() ? "-" : action->text());
        windowItemChecked = windows.FindCommand(kCmdShowWindowFirst)->isChecked();
        EXPECT_TRUE(windows.FindCommand(CApplication::kCmdCascade)->isEnabled());
        application.Quit();
    });
    ASSERT_GE(fileItems.size(), 4);
    EXPECT_EQ(fileItems.mid(fileItems.size() - 4), QStringList({"-", "&1 loop.wav", "-", "&Quit"}));
    ASSERT_GE(windowItems.size(), 2);
    EXPECT_EQ(windowItems[windowItems.size() - 2], "-");
    EXPECT_TRUE(windowItemChecked);
}

TEST(ApplicationMenusTest, AHundredRecentDocumentsShowOnly89NumberedItems)
{
    TestApplication();
    std::vector<std::string> paths;
    for (int i = 0; i < 100; ++i)
        paths.push_back("/loops/take " + std::to_string(i) + ".wav");
    const std::vector<MenuItemRecord> items = RecentDocumentItems(paths);
    ASSERT_EQ(items.size(), 89u);
    EXPECT_EQ(items[0].text, "1 take 0.wav");
    EXPECT_EQ(items[0].mnemonic, '1');
    EXPECT_EQ(items[88].text, "89 take 88.wav");
    EXPECT_EQ(items[88].command, 1098u);

    CMenu file(BuiltInTextResources(), CQuorvel::kMenuFile);
    const int plain = file.ItemCount();
    ShowRecentDocuments(file, paths);
    EXPECT_EQ(file.ItemCount(), plain + 90) << "89 items and their separator";
    ShowRecentDocuments(file, {paths[0]});
    EXPECT_EQ(file.ItemCount(), plain + 2) << "the old items and the extra separator are gone";
    ShowRecentDocuments(file, {});
    EXPECT_EQ(file.ItemCount(), plain);
}

} // namespace
} // namespace quorvel::test
