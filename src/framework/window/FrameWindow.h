#pragma once
// The main window: a menu bar over a multiple-document area that holds the
// document windows, with the arrangement commands of the Windows menu.
#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace quorvel {

class CDocumentWindow;

class CFrameWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CFrameWindow(QWidget* parent = nullptr);

    QMdiArea& Area() const { return *area_; }

    // Shows `window` inside the frame; the area owns it from then on.
    void AddDocumentWindow(CDocumentWindow* window);
    // Document windows, front one first.
    std::vector<CDocumentWindow*> DocumentWindows() const;
    CDocumentWindow* FrontDocumentWindow() const;

    // The arrangements never make a document window smaller than its
    // ArrangedMinimumSize; what then does not fit in the area is reached
    // through its scroll bars.
    // Overlapping, each one title bar further right and down, the front
    // window on top; each as large as the area leaves room for.
    void Cascade();
    // Side by side, one above the other: each window gets the full width.
    void TileHorizontally();
    // Side by side, next to each other: each window gets the full height.
    void TileVertically();
    // Moves the normal (not minimised or maximised) document windows to the
    // area's top-left corner and sizes the frame to just hold them, within
    // the screen. Does nothing without such a window.
    void ResizeToDocuments();
    // Asks the front window to close, then the next, until one refuses.
    // True when none is left.
    bool CloseAll();

    // Keeps the frame above other programs' windows.
    void SetStayOnTop(bool stayOnTop);
    bool StayOnTop() const;

    // The user's close request (window manager button, Alt+F4) does not close
    // the frame: it goes here, and the application decides (run state).
    void SetCloseRequestHandler(std::function<void()> handler) { onCloseRequest_ = std::move(handler); }

    // Local files dropped on the frame or on any of its document windows go
    // here, once the drop itself has finished. Without a handler the frame
    // refuses drags.
    using FileDropHandler = std::function<void(const std::vector<std::string>& paths)>;
    void SetFileDropHandler(FileDropHandler handler);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Accepts a drag that carries local files (as a copy), refuses others.
    bool TakeFileDrag(QDropEvent& event) const;
    // Lays the shown, non-minimised windows out in equal strips.
    void Tile(bool horizontally);
    // The shown, non-minimised windows, back one first; maximised ones are
    // brought back to normal.
    std::vector<QMdiSubWindow*> WindowsToArrange() const;

    QMdiArea* area_;
    std::function<void()> onCloseRequest_;
    FileDropHandler onFileDrop_;
};

} // namespace quorvel
