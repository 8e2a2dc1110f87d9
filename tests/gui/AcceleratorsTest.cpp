// Every accelerator of the menu resource reaches its command exactly once,
// whatever the windows: none open, one, several, the front one maximised,
// and the focus in a text field of a document window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "QtTestApplication.h"
#include "RunApplication.h"
#include "TestSounds.h"
#include "framework/CommandLine.h"
#include "framework/EmbeddedResources.h"
#include "framework/MenuScript.h"
#include "framework/TextResources.h"
#include "framework/window/AlertBox.h"
#include "ui/ApplicationPreferences.h"
#include "ui/app/ApplicationServices.h"
#include "ui/views/WaveformPane.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/WindowControls.h"

namespace quorvel::test {
namespace {

using gui::CQuorvel;

struct SAccelerator {
    char key;
    uint32_t command;
};

// The accelerators of the menus the frame shows, read from the resource.
std::vector<SAccelerator> MenuAccelerators()
{
    std::vector<SAccelerator> accelerators;
    for (const uint32_t menu : {CQuorvel::kMenuFile, CQuorvel::kMenuEdit, CQuorvel::kMenuSampler,
                                CQuorvel::kMenuWindows, CQuorvel::kMenuHelp})
        for (const MenuItemRecord& item : ParseMenuScript(BuiltInTextResources().MenuScript(menu)).items)
            if (item.accelerator)
                accelerators.push_back({item.accelerator, item.command});
    return accelerators;
}

class AcceleratorsTest : public ::testing::Test {
protected:
    AcceleratorsTest()
    {
        TestApplication();
        CAlertBox::SetResponder([](const AlertRecord&) { return AlertResultForSlot(0); });
        application.UseSilentCardOnly();
        for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
            WriteLoopWav(folder / name);
            sounds.push_back(folder / name);
        }
    }
    ~AcceleratorsTest() override
    {
        CAlertBox::SetResponder({});
        CModalDialog::SetAutoAnswer(std::nullopt);
    }

    // Presses Ctrl with each accelerator where the focus is and records
    // which commands the menus dispatched, without carrying them out.
    void PressEveryAccelerator(const std::string& state)
    {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&application.Frame())) << state;
        CMenuBar& menus = *application.MenuBar();
        std::map<uint32_t, int> dispatched;
        menus.SetCommandHandler([&](uint32_t command) { ++dispatched[command]; });
        menus.SetCommandStatus([](uint32_t) { return SCommandStatus{true, false}; });
        QWidget* focus = QApplication::focusWidget();
        const bool scroll = application.Services().Settings().application.scrollDuringPlayback;
        for (const SAccelerator& accelerator : accelerators) {
            dispatched.clear();
            QTest::keyClick(focus ? focus : &application.Frame(), static_cast<Qt::Key>(accelerator.key),
                            Qt::ControlModifier);
            EXPECT_EQ(dispatched, (std::map<uint32_t, int>{{accelerator.command, 1}}))
                << state << ": Ctrl+" << accelerator.key;
        }
        EXPECT_EQ(QApplication::focusWidget(), focus) << state;
        EXPECT_EQ(application.Services().Settings().application.scrollDuringPlayback, scroll)
            << state << ": Ctrl+F reached the window's F key as well";
    }

    TempFolder folder;
    std::vector<std::string> sounds;
    const std::vector<SAccelerator> accelerators = MenuAccelerators();
    CQuorvel application{TestApplication(), "", false};
};

TEST_F(AcceleratorsTest, EveryAcceleratorReachesItsCommandOnceInEveryWindowState)
{
    ASSERT_GE(accelerators.size(), 10u);
    size_t windowsAfterCtrlW = 0;
    const int status = RunWith(
        application,
        [&] {
            application.Frame().activateWindow();
            PressEveryAccelerator("no document window");

            application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{sounds[0]}));
            ASSERT_EQ(application.DocumentWindows().size(), 1u);
            application.DocumentWindows().front()->Pane().setFocus();
            PressEveryAccelerator("one document window");

            application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{sounds[1], sounds[2]}));
            ASSERT_EQ(application.DocumentWindows().size(), 3u);
            CQuorvelWindow* front = application.DocumentWindows().front();
            front->Pane().setFocus();
            PressEveryAccelerator("three document windows");

            front->Controls().BarsField()->setFocus();
            ASSERT_TRUE(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
            PressEveryAccelerator("typing in the Bars field");

            front->showMaximized();
            front->Pane().setFocus();
            PressEveryAccelerator("front window maximised");
            front->Controls().BarsField()->setFocus();
            PressEveryAccelerator("front window maximised, typing in the Bars field");

            // And carried out: Ctrl+W closes the front window (no question:
            // the run answers No).
            CMenuBar& menus = *application.MenuBar();
            menus.SetCommandHandler([&](uint32_t command) { application.DispatchCommand(command); });
            front->Pane().setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            windowsAfterCtrlW = application.DocumentWindows().size();
            application.Quit();
        },
        20000);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(windowsAfterCtrlW, 2u);
}

} // namespace
} // namespace quorvel::test
