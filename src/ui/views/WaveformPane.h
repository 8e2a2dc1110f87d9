#pragma once
// Every view of one document window laid out along the time axis, kept on
// one visible stretch: the time ruler with the locator handles, the slice
// handle strip, the main waveform with slice lines and play cursor, the
// overview of the whole sound, the magnification slider and the scroll bar.
#include <QWidget>

#include <cstdint>
#include <memory>

namespace quorvel {

class CSoundDocument;
class CViewActions;
struct SApplicationPreferences;
struct TimeWindow;

class CWaveformPane : public QWidget {
    Q_OBJECT
public:
    // None of the three is owned; all must outlive the pane.
    CWaveformPane(CSoundDocument& document, CViewActions& actions, const SApplicationPreferences& preferences,
                  QWidget* parent = nullptr);
    ~CWaveformPane() override;

    // The main waveform's visible stretch (every view follows it).
    const TimeWindow& Visible() const;
    void ShowAll();
    void ShowLoop();
    void ZoomIn();
    void ZoomOut();
    void SetVisible(int32_t start, int32_t end);

    // The slices' states, selection or threshold changed: redraws the slice
    // lines and handles (only what changed).
    void SlicesChanged();
    // The locators changed outside the ruler.
    void LocatorsChanged();
    // The tool changed (pointer shapes, Pen preview).
    void ToolChanged();
    // Colour, brightness or waveform look changed.
    void PreferencesChanged();
    // Every idle step: moves the play cursor and, while playing with
    // "Scroll During Playback" on, keeps it in view.
    void IdleStep();

private:
    struct Views;
    std::unique_ptr<Views> views_;
};

} // namespace quorvel
