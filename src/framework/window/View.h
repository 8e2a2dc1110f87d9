#pragma once
// Views are the widgets inside windows. CView draws itself; a control view
// is a view that reports a command when used; a native-control view wraps a
// Qt control and reports its command the same way.
#include <QWidget>

#include <cstdint>
#include <functional>

class QAbstractButton;
class QPainter;

namespace quorvel {

class CView : public QWidget {
    Q_OBJECT
public:
    explicit CView(QWidget* parent = nullptr);

protected:
    // Draws the view; called from paintEvent with a painter on this widget.
    virtual void Draw(QPainter& painter);
    void paintEvent(QPaintEvent* event) override;
};

using ControlCommandHandler = std::function<void(uint32_t command)>;

class CControlView : public CView {
    Q_OBJECT
public:
    CControlView(uint32_t command, QWidget* parent = nullptr);

    uint32_t Command() const { return command_; }
    void SetCommandHandler(ControlCommandHandler handler) { handler_ = std::move(handler); }
    // Reports the command, as a use of the control does.
    void Fire();

private:
    uint32_t command_;
    ControlCommandHandler handler_;
};

// Holds one Qt control filling the view. Buttons report their command when
// clicked; other controls are connected by their owner, which calls Fire.
class CNativeControlView : public CControlView {
    Q_OBJECT
public:
    // Takes ownership of `control`.
    CNativeControlView(uint32_t command, QWidget* control, QWidget* parent = nullptr);

    QWidget* Control() const { return control_; }

private:
    QWidget* control_;
};

} // namespace quorvel
