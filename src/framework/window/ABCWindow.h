#pragma once
// What every framework window has, whatever Qt class it is built on: the
// widget itself and the question whether it may close now.
class QWidget;

namespace quorvel {

class CABCWindow {
public:
    virtual ~CABCWindow() = default;
    virtual QWidget* Widget() = 0;
    // Asked before the window closes; false keeps it open (a modified
    // document asking "Save changes?" answers false on Cancel).
    virtual bool MayClose() { return true; }
};

} // namespace quorvel
