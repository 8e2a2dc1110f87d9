#pragma once
// A document's window: a child of the frame window's document area. Closing
// goes through MayClose, so a document can refuse (Cancel in "Save changes?").
#include <QMdiSubWindow>

#include <cstdint>

#include <optional>

#include "framework/window/ABCWindow.h"
#include "framework/window/Menu.h"

namespace quorvel {

class CDocumentWindow : public QMdiSubWindow, public CABCWindow {
    Q_OBJECT
public:
    explicit CDocumentWindow(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }

    // Asks MayClose and, when it agrees, closes and destroys the window.
    // Returns whether the window is gone (its destruction is deferred to the
    // next pass of the event loop, so `this` stays valid until then).
    bool RequestClose();

    // Commands the application did not handle reach the front document
    // window here; true when handled.
    virtual bool HandleCommand(uint32_t command);
    // The state of a command this window handles; nullopt for the others.
    virtual std::optional<SCommandStatus> CommandStatus(uint32_t command);

    // The smallest size the Windows menu's arrangements give this window:
    // everything it shows still fits (the user may make it smaller). The
    // default is what its layout asks for.
    virtual QSize ArrangedMinimumSize() const;

    // True once the window agreed to close; it is on its way out.
    bool Closing() const { return closeApproved_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool closeApproved_ = false;
};

} // namespace quorvel
