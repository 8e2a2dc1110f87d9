#pragma once
// Runs an action once, the first time a top-level widget is really on screen
// (its platform window exposed), not merely asked to show. The start-up
// benchmark and the quit-after-start option measure and act on this moment.
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <utility>

namespace quorvel::gui {

class CWhenExposed final : public QObject {
public:
    // Call before `widget` is shown; `action` runs from the event loop.
    CWhenExposed(QWidget& widget, std::function<void()> action) : action_(std::move(action))
    {
        widget.winId(); // creates the platform window so that its events can be watched
        widget.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (action_ && event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            std::exchange(action_, nullptr)();
        }
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace quorvel::gui
