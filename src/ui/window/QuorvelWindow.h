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
class CViewActions;
class CWaveformPane;
class CWindowControls;
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

    // Wide enough for both rows of controls at their natural width, high
    // enough for them and the views.
    QSize ArrangedMinimumSize() const override;

    // Every idle step of the application: play cursor, transport buttons.
    void IdleStep();
    // Shows the document's values in the controls (after outside changes).
    void Refresh();

    // The menu commands this window answers.
    enum Command : uint32_t {
        kCmdClose = 1001,
        kCmdSave = 1002,
        kCmdSaveAs = 1003,
        kCmdExportSound = 1005,
        kCmdExportGrooveMIDI = 1006,
        kCmdExportQLX = 1007,
        // Outside the range of the recent documents (1010 on).
        kCmdExportSfz = 1600,
        kCmdExportHydrogenKit = 1601,
        kCmdMagnifyToFit = 1100,
        kCmdMagnifyToFitLoop = 1101,
        kCmdSelectAll = 1102,
        kCmdInvertSelection = 1103,
        kCmdTransmit = 1200,
        kCmdPitchToNewTempo = 1202,
        kCmdTransmitAsOneSample = 1203,
        kCmdNormalize = 1204,
        kCmdSilenceSelected = 1205,
    };

    CWindowControls& Controls();
    CWaveformPane& Pane();
    // What the views call; tests and benchmarks drive the tools through it.
    CViewActions& Actions();

private:
    struct Parts;
    class ViewActions;
    class PlaybackNotifier;
    class KeyFilter;

    // `firstPress`: the key was up before (not a repeat of a held key).
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers, bool firstPress);
    void ConnectControls();
    void PressTransport(int button);
    void Transmit();
    // The File menu's instrument exports, through that software destination.
    void ExportInstrument(uint32_t modelTypeId);
    void ChangeSensitivity(int32_t sliderValue);
    void ChooseTool(int tool);
    void SlicesEdited(bool changed);
    void RefreshTransport();
    void RefreshTitle();
    void WriteBackDefaults();

    std::unique_ptr<Parts> parts_;
};

} // namespace quorvel
