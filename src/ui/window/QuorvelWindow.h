#pragma once
// The document window: one per open sound. It owns the sound document, lays
// out the views and the row of controls, and turns commands, keys and mouse
// actions into changes of the document, play commands and exports.
#include <cstdint>
#include <memory>
#include <optional>

#include "framework/window/DocumentWindow.h"

namespace quorvel {

class CSoundDocument;
class CWindowServices;

class CQuorvelWindow : public CDocumentWindow {
    Q_OBJECT
public:
    static constexpr int kInitialWidth = 640;
    static constexpr int kInitialHeight = 360;

    // Takes the document; `services` must outlive the window.
    CQuorvelWindow(std::unique_ptr<CSoundDocument> document, CWindowServices& services, QWidget* parent = nullptr);
    ~CQuorvelWindow() override;

    CSoundDocument& Document();

    // Right after opening (also for a received sample): offers to move the
    // left locator to the first slice (alert 16, or at once by preference).
    void OfferLeftLocatorMove();

    // The window's commands (1001 to 1205).
    bool HandleCommand(uint32_t command) override;
    std::optional<SCommandStatus> CommandStatus(uint32_t command) override;
    // Stops this window's playback and asks "Save changes before close?"
    // when the document is modified or was never saved.
    bool MayClose() override;

    // Every idle step of the application: play cursor, transport buttons.
    void IdleStep();
    // Shows the document's values in the controls (after outside changes).
    void Refresh();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace quorvel
