#pragma once
// The application object: owns the frame window and runs the framework's
// main loop over the Qt event queue. A program derives from it and fills in
// the hooks.
#include <QApplication>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Clock.h"
#include "framework/LengthyOperation.h"
#include "framework/MainLoop.h"
#include "framework/window/FrameWindow.h"
#include "framework/window/LengthyOperationPresenter.h"
#include "framework/window/Menu.h"
#include "framework/window/MessageSource.h"

namespace quorvel {

class CApplication {
public:
    // Creates the QApplication (argc and argv must outlive this object).
    CApplication(int& argc, char** argv, std::string name);
    // Uses an existing QApplication.
    CApplication(QApplication& qt, std::string name);
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // Shows the frame, initialises, attaches the menu bar, opens the start
    // documents, runs the loop until quit and terminates. Returns the exit
    // code: 0, or 1 when initialisation failed.
    int Run();

    const std::string& Name() const { return name_; }
    QApplication& QtApplication() { return *qt_; }
    CFrameWindow& Frame() { return *frame_; }
    CMainLoop& Loop() { return loop_; }
    CMenuBar* MenuBar() { return menuBar_.get(); }
    SLengthyOperationServices LengthyOperationServices() { return {clock_, presenter_, loop_}; }

    // Run state 45: the loop asks CloseAllDocuments after the current message.
    void RequestQuit() { loop_.SetState(RunState::kQuitRequested); }
    void AddIdleUser() { loop_.AddIdleUser(); }
    void RemoveIdleUser() { loop_.RemoveIdleUser(); }
    int16_t IdleUsers() const { return loop_.IdleUsers(); }

    // Hands a command to HandleCommand, and if not handled there to the
    // front document window and then to the frame's arrangement commands.
    void DispatchCommand(uint32_t command);

    // Commands of the Windows menu that the framework carries out itself.
    static constexpr uint32_t kCmdCascade = 1501;
    static constexpr uint32_t kCmdTileHorizontally = 1502;
    static constexpr uint32_t kCmdTileVertically = 1503;
    static constexpr uint32_t kCmdCloseAll = 1504;
    static constexpr uint32_t kCmdResizeToDocuments = 1505;

protected:
    // The idle work: called by the loop at every pass while there are idle
    // users, otherwise at most once per idle interval.
    virtual void IdleStep() {}
    // Shows the frame window; override to apply a stored placement first.
    virtual void ShowFrameWindow();
    // Called once after the frame window is shown, before the loop; false
    // fails start-up (Run returns 1 after Terminate).
    virtual bool Initialise() { return true; }
    // The menus to attach to the frame window; none by default.
    virtual std::unique_ptr<CMenuBar> CreateMenuBar() { return nullptr; }
    // After the menus are attached: open what the command line names.
    virtual void OpenStartDocuments() {}
    // Called once after the loop ends.
    virtual void Terminate() {}

    // The application's own commands; true when handled.
    virtual bool HandleCommand(uint32_t command);
    // Whether `command` is enabled and checked right now. The default asks
    // the front document window, then enables the arrangement commands while
    // there is a document window; anything else is disabled.
    virtual SCommandStatus CommandStatus(uint32_t command);
    // Asked by the quit protocol; true when every document window closed.
    virtual bool CloseAllDocuments() { return frame_->CloseAll(); }

private:
    void Setup();

    std::unique_ptr<QApplication> ownedQt_;
    QApplication* qt_;
    std::string name_;
    CSteadyClock clock_;
    CQtMessageSource source_;
    CMainLoop loop_;
    std::unique_ptr<CFrameWindow> frame_;
    CQtLengthyOperationPresenter presenter_;
    std::unique_ptr<CMenuBar> menuBar_;
};

} // namespace quorvel
