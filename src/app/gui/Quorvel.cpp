#include "Quorvel.h"

#include <QTimer>

#include "framework/CommandLine.h"
#include "framework/EmbeddedResources.h"

#include "EventTrace.h"
#include "FramePlacement.h"
#include "StartupHooks.h"
#include "WhenExposed.h"

namespace quorvel::gui {

CQuorvel::CQuorvel(QApplication& qt, std::string commandLine, bool quitAfterStart)
    : CApplication(qt, "Quorvel"), startCommandLine_(std::move(commandLine)), quitAfterStart_(quitAfterStart)
{
    // Closing the frame is the same as choosing Quit: documents are asked first.
    Frame().SetCloseRequestHandler([this] { Quit(); });
}

CQuorvel::~CQuorvel() = default;

void CQuorvel::ShowFrameWindow()
{
    whenShown_ = std::make_unique<CWhenExposed>(Frame(), [this] {
        const QRect placed = Frame().geometry();
        Trace("shown " + std::to_string(placed.x()) + ' ' + std::to_string(placed.y()) + ' ' +
              std::to_string(placed.width()) + ' ' + std::to_string(placed.height()) + " stay-on-top " +
              (Frame().StayOnTop() ? "1" : "0"));
        if (quitAfterStart_)
            Quit();
    });
    // After the platform window exists (the watcher made it), so the stored
    // client rectangle is taken as one rather than as the outer frame.
    RestoreFramePlacement(Frame());
    CApplication::ShowFrameWindow();
}

bool CQuorvel::Initialise()
{
    InitialiseViewResources();
    // The operating-system version check has no counterpart here: any system
    // that runs this build is recent enough.
    ShowSplashScreen();

    CTextResources& texts = BuiltInTextResources();
    menus_ = std::make_unique<CMenuBar>();
    for (const uint32_t reference : {kMenuFile, kMenuEdit, kMenuSampler, kMenuWindows, kMenuHelp})
        menus_->Add(texts, reference);
    beatsPopup_ = std::make_unique<CMenu>(texts, kPopupBeats);
    timeSignaturePopup_ = std::make_unique<CMenu>(texts, kPopupTimeSignature);

    soundAvailable_ = RegisterSoundCards();
    midiAvailable_ = RegisterMidiPorts();
    scsiAvailable_ = InitialiseScsiBuses();
    CloseSplashScreen();
    ReadPreferences();
    VerifyInstalledSamplers();
    return true;
}

std::unique_ptr<CMenuBar> CQuorvel::CreateMenuBar()
{
    return std::move(menus_);
}

void CQuorvel::OpenStartDocuments()
{
    OpenCommandLine(startCommandLine_);
    started_ = true;
    Trace("started");
    for (const std::string& waiting : std::exchange(waitingCommandLines_, {}))
        ReceiveCommandLine(waiting);
}

void CQuorvel::Terminate()
{
    StopPlayback();
    WritePreferences();
    SaveFramePlacement(Frame());
    Trace("quit");
}

bool CQuorvel::HandleCommand(uint32_t command)
{
    if (command == kCmdQuit) {
        Quit();
        return true;
    }
    return CApplication::HandleCommand(command);
}

SCommandStatus CQuorvel::CommandStatus(uint32_t command)
{
    if (command == kCmdQuit)
        return {.enabled = true, .checked = false};
    // The framework enables its window arrangement commands; every other
    // command stays disabled until its feature exists.
    return CApplication::CommandStatus(command);
}

void CQuorvel::ReceiveCommandLine(const std::string& commandLine)
{
    if (!started_) {
        waitingCommandLines_.push_back(commandLine);
        return;
    }
    Trace("received " + commandLine);
    BringFrameForward();
    if (!commandLine.empty())
        OpenCommandLine(commandLine);
}

void CQuorvel::Quit()
{
    StopPlayback();
    RequestQuit();
    // The loop looks at the run state after a message; this one makes sure
    // there is a message even when the request came from outside the loop.
    QTimer::singleShot(0, &Frame(), [] {});
}

void CQuorvel::OpenCommandLine(const std::string& commandLine)
{
    bool opened = false;
    for (const std::string& path : ParseCommandLine(commandLine, IsExistingFile))
        opened = OpenDocument(path) || opened;
    if (!opened)
        StartWithoutDocuments();
}

bool CQuorvel::OpenDocument(const std::string& path)
{
    // Documents arrive with the document window; until then the request is
    // only recorded.
    requestedDocuments_.push_back(path);
    Trace("open " + path);
    return false;
}

void CQuorvel::StartWithoutDocuments() {}

void CQuorvel::BringFrameForward()
{
    if (Frame().isMinimized())
        Frame().showNormal();
    Frame().raise();
    Frame().activateWindow();
}

} // namespace quorvel::gui
