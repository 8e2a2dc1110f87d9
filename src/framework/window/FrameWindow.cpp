#include "framework/window/FrameWindow.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QScreen>

#include <algorithm>
#include <climits>

#include "framework/window/DocumentWindow.h"

namespace quorvel {

CFrameWindow::CFrameWindow(QWidget* parent) : QMainWindow(parent), area_(new QMdiArea(this))
{
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Closing the front window brings forward the one active before it.
    area_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(area_);
}

void CFrameWindow::AddDocumentWindow(CDocumentWindow* window)
{
    area_->addSubWindow(window);
    window->show();
}

std::vector<CDocumentWindow*> CFrameWindow::DocumentWindows() const
{
    std::vector<CDocumentWindow*> windows;
    for (QMdiSubWindow* sub : area_->subWindowList(QMdiArea::ActivationHistoryOrder)) {
        auto* document = qobject_cast<CDocumentWindow*>(sub);
        if (document && !document->Closing())
            windows.insert(windows.begin(), document); // the history lists the front one last
    }
    return windows;
}

CDocumentWindow* CFrameWindow::FrontDocumentWindow() const
{
    const std::vector<CDocumentWindow*> windows = DocumentWindows();
    return windows.empty() ? nullptr : windows.front();
}

void CFrameWindow::Cascade() { area_->cascadeSubWindows(); }

void CFrameWindow::TileHorizontally() { Tile(true); }

void CFrameWindow::TileVertically() { Tile(false); }

void CFrameWindow::Tile(bool horizontally)
{
    // QMdiArea's own tiling makes a grid; the Windows menu offers strips.
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : area_->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && !sub->isMinimized())
            windows.push_back(sub);
    }
    if (windows.empty())
        return;
    const QRect space = area_->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* sub = windows[static_cast<size_t>(i)];
        if (sub->isMaximized())
            sub->showNormal();
        if (horizontally) {
            const int top = space.height() * i / count;
            const int bottom = space.height() * (i + 1) / count;
            sub->setGeometry(0, top, space.width(), bottom - top);
        } else {
            const int left = space.width() * i / count;
            const int right = space.width() * (i + 1) / count;
            sub->setGeometry(left, 0, right - left, space.height());
        }
    }
}

void CFrameWindow::ResizeToDocuments()
{
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (sub->isVisible() && !(sub->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            windows.push_back(sub);
    }
    if (windows.empty())
        return;
    int left = INT_MAX;
    int top = INT_MAX;
    for (QMdiSubWindow* sub : windows) {
        left = std::min(left, sub->x());
        top = std::min(top, sub->y());
    }
    QRect united;
    for (QMdiSubWindow* sub : windows) {
        sub->move(sub->x() - left, sub->y() - top);
        united |= sub->geometry();
    }

    // Everything of the frame that is not document area: menu bar, borders.
    const QSize chrome = size() - area_->contentsRect().size();
    QRect target(geometry().topLeft(), united.size() + chrome);
    const QRect screenArea = screen()->availableGeometry();
    if (target.right() > screenArea.right())
        target.moveRight(screenArea.right());
    if (target.left() < screenArea.left()) {
        target.moveLeft(screenArea.left());
        target.setWidth(screenArea.width());
    }
    if (target.bottom() > screenArea.bottom())
        target.moveBottom(screenArea.bottom());
    if (target.top() < screenArea.top()) {
        target.moveTop(screenArea.top());
        target.setHeight(screenArea.height());
    }
    // setGeometry neither raises nor activates the frame.
    setGeometry(target);
}

bool CFrameWindow::CloseAll()
{
    while (CDocumentWindow* front = FrontDocumentWindow()) {
        if (!front->RequestClose())
            return false;
    }
    return true;
}

void CFrameWindow::SetStayOnTop(bool stayOnTop)
{
    if (stayOnTop == StayOnTop())
        return;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
    // Changing a window flag hides the window; bring it back as it was.
    if (shown)
        show();
}

bool CFrameWindow::StayOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void CFrameWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (onCloseRequest_)
        onCloseRequest_();
}

} // namespace quorvel
