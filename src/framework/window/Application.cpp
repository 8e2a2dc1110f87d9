#include "framework/window/Application.h"

#include <QMenuBar>

#include "framework/window/Cursor.h"
#include "framework/window/DocumentWindow.h"

namespace quorvel {

CApplication::CApplication(int& argc, char** argv, std::string name)
    : ownedQt_(std::make_unique<QApplication>(argc, argv)),
      qt_(ownedQt_.get()),
      name_(std::move(name)),
      loop_(source_, clock_, [this] { IdleStep(); })
{
    Setup();
}

CApplication::CApplication(QApplication& qt, std::string name)
    : qt_(&qt), name_(std::move(name)), loop_(source_, clock_, [this] { IdleStep(); })
{
    Setup();
}

CApplication::~CApplication()
{
    RestoreArrowCursor();
    menuBar_.reset();
    frame_.reset();
}

void CApplication::Setup()
{
    QApplication::setApplicationName(QString::fromStdString(name_));
    // The loop ends by run state only; the last window closing means nothing.
    qt_->setQuitOnLastWindowClosed(false);
    frame_ = std::make_unique<CFrameWindow>();
    frame_->setWindowTitle(QString::fromStdString(name_));
    frame_->SetCloseRequestHandler([this] { RequestQuit(); });
    presenter_.SetOwner(frame_.get());
    loop_.SetCloseAllDocuments([this] { return CloseAllDocuments(); });
}

void CApplication::ShowFrameWindow() { frame_->show(); }

int CApplication::Run()
{
    ShowFrameWindow();
    if (!Initialise()) {
        Terminate();
        return 1;
    }
    menuBar_ = CreateMenuBar();
    if (menuBar_) {
        menuBar_->SetCommandHandler([this](uint32_t command) { DispatchCommand(command); });
        menuBar_->SetCommandStatus([this](uint32_t command) { return CommandStatus(command); });
        menuBar_->AttachTo(*frame_->menuBar());
    }
    OpenStartDocuments();
    loop_.Run();
    // The windows closed by the quit protocol are still waiting for deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Terminate();
    return 0;
}

void CApplication::DispatchCommand(uint32_t command)
{
    if (HandleCommand(command))
        return;
    if (CDocumentWindow* front = frame_->FrontDocumentWindow(); front && front->HandleCommand(command))
        return;
    switch (command) {
    case kCmdCascade:
        frame_->Cascade();
        break;
    case kCmdTileHorizontally:
        frame_->TileHorizontally();
        break;
    case kCmdTileVertically:
        frame_->TileVertically();
        break;
    case kCmdCloseAll:
        CloseAllDocuments();
        break;
    case kCmdResizeToDocuments:
        frame_->ResizeToDocuments();
        break;
    default:
        break;
    }
}

bool CApplication::HandleCommand(uint32_t) { return false; }

SCommandStatus CApplication::CommandStatus(uint32_t command)
{
    CDocumentWindow* front = frame_->FrontDocumentWindow();
    if (front) {
        if (const std::optional<SCommandStatus> status = front->CommandStatus(command))
            return *status;
    }
    switch (command) {
    case kCmdCascade:
    case kCmdTileHorizontally:
    case kCmdTileVertically:
    case kCmdCloseAll:
    case kCmdResizeToDocuments:
        return {front != nullptr, false};
    default:
        return {};
    }
}

} // namespace quorvel
