#include "framework/window/FrameWindow.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <climits>

#include "framework/window/DocumentWindow.h"
#include "framework/window/DroppedFiles.h"

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

namespace {

QSize ArrangedMinimum(const QMdiSubWindow* window)
{
    if (const auto* document = qobject_cast<const CDocumentWindow*>(window))
        return document->ArrangedMinimumSize();
    return window->minimumSizeHint().expandedTo(window->minimumSize());
}

} // namespace

std::vector<QMdiSubWindow*> CFrameWindow::WindowsToArrange() const
{
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : area_->subWindowList(QMdiArea::ActivationHistoryOrder)) {
        const auto* document = qobject_cast<CDocumentWindow*>(sub);
        if (sub->isVisible() && !sub->isMinimized() && !(document && document->Closing()))
            windows.push_back(sub);
    }
    for (QMdiSubWindow* sub : windows)
        if (sub->isMaximized())
            sub->showNormal();
    return windows;
}

void CFrameWindow::Cascade()
{
    const std::vector<QMdiSubWindow*> windows = WindowsToArrange();
    if (windows.empty())
        return;
    const QSize space = area_->viewport()->size();
    const int step = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front()), 16);
    const int offset = step * static_cast<int>(windows.size() - 1);
    for (size_t i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* sub = windows[i];
        const QSize size = QSize(space.width() - offset, space.height() - offset).expandedTo(ArrangedMinimum(sub));
        const int shift = step * static_cast<int>(i);
        sub->setGeometry(QRect(QPoint(shift, shift), size));
        sub->raise();
    }
}

void CFrameWindow::TileHorizontally() { Tile(true); }

void CFrameWindow::TileVertically() { Tile(false); }

void CFrameWindow::Tile(bool horizontally)
{
    // QMdiArea's own tiling makes a grid; the Windows menu offers strips.
    std::vector<QMdiSubWindow*> windows = WindowsToArrange();
    if (windows.empty())
        return;
    // In the order the windows were opened, top or left first.
    const QList<QMdiSubWindow*> created = area_->subWindowList(QMdiArea::CreationOrder);
    std::sort(windows.begin(), windows.end(),
              [&created](QMdiSubWindow* a, QMdiSubWindow* b) { return created.indexOf(a) < created.indexOf(b); });
    const QRect space = area_->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    int next = 0;
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* sub = windows[static_cast<size_t>(i)];
        const QSize least = ArrangedMinimum(sub);
        if (horizontally) {
            const int height = std::max(space.height() * (i + 1) / count - space.height() * i / count, least.height());
            sub->setGeometry(0, next, std::max(space.width(), least.width()), height);
            next += height;
        } else {
            const int width = std::max(space.width() * (i + 1) / count - space.width() * i / count, least.width());
            sub->setGeometry(next, 0, width, std::max(space.height(), least.height()));
            next += width;
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

void CFrameWindow::SetFileDropHandler(FileDropHandler handler)
{
    onFileDrop_ = std::move(handler);
    // Drops on the document windows' own views reach the frame too: Qt hands
    // a drag to the nearest parent that accepts drops.
    setAcceptDrops(static_cast<bool>(onFileDrop_));
}

namespace {

// Opening reads the file where it is: the drop takes a copy or a link, never
// a move, so the program the file came from never removes it afterwards.
bool AcceptWithoutMoving(QDropEvent& event)
{
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event.possibleActions() & action) {
            event.setDropAction(action);
            event.accept();
            return true;
        }
    }
    event.ignore();
    return false;
}

} // namespace

bool CFrameWindow::TakeFileDrag(QDropEvent& event) const
{
    if (!onFileDrop_ || DroppedLocalFiles(event.mimeData()).empty()) {
        event.ignore();
        return false;
    }
    return AcceptWithoutMoving(event);
}

void CFrameWindow::dragEnterEvent(QDragEnterEvent* event) { TakeFileDrag(*event); }

void CFrameWindow::dragMoveEvent(QDragMoveEvent* event) { TakeFileDrag(*event); }

void CFrameWindow::dropEvent(QDropEvent* event)
{
    if (!TakeFileDrag(*event))
        return;
    const std::vector<std::string> paths = DroppedLocalFiles(event->mimeData());
    // Opening asks questions in modal loops; the program that started the
    // drag waits until the drop returns, so the files open afterwards.
    QMetaObject::invokeMethod(
        this, [this, paths] {
            if (onFileDrop_)
                onFileDrop_(paths);
        },
        Qt::QueuedConnection);
}

} // namespace quorvel
