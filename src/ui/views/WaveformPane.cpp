#include "ui/views/WaveformPane.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

#include "document/SoundDocument.h"
#include "ui/ApplicationPreferences.h"
#include "ui/views/ColoredRectangleView.h"
#include "ui/views/MagnifyView.h"
#include "ui/views/RangeScaleView.h"
#include "ui/views/SampleOverView.h"
#include "ui/views/SampleSliceView.h"
#include "ui/views/SliceView.h"
#include "ui/views/TimeWindow.h"
#include "ui/views/ViewActions.h"

namespace quorvel {

struct CWaveformPane::Views final : CTimeAxis {
    Views(CWaveformPane& pane, CSoundDocument& document, CViewActions& actions,
          const SApplicationPreferences& preferences);

    const TimeWindow& MainWindow() const override { return waveform->Window(); }
    void ShowStretch(int32_t start, int32_t end) override;
    void ScrollMainTo(int32_t start) override;
    void ZoomInAround(int32_t frame) override;
    void ZoomOut() override;
    void SetMouseHeld(bool held) override { mouseHeld = held; }
    void LocatorsEdited() override;
    void ViewResized() override;

    TimeWindow Main() const;
    void Apply(TimeWindow window);
    void SyncControls();
    void ScrollBarAction(int action);
    void MagnifyMoved(int value);
    void ApplyPreferences();
    void UpdatePointers();

    CWaveformPane& pane;
    CViewActions& actions;
    const SApplicationPreferences& preferences;
    SViewContext context;
    CSampleOverView* overview = nullptr;
    CRangeScaleView* ruler = nullptr;
    CSliceView* strip = nullptr;
    CSampleSliceView* waveform = nullptr;
    QScrollBar* scrollBar = nullptr;
    CMagnifyView* magnify = nullptr;
    bool ready = false;
    bool mouseHeld = false;
    bool following = false;
    bool magnifying = false;
};

CWaveformPane::Views::Views(CWaveformPane& owner, CSoundDocument& document, CViewActions& viewActions,
                            const SApplicationPreferences& applicationPreferences)
    : pane(owner), actions(viewActions), preferences(applicationPreferences),
      context{document, viewActions, applicationPreferences, *this}
{
    overview = new CSampleOverView(context, &pane);
    ruler = new CRangeScaleView(context, &pane);
    strip = new CSliceView(context, &pane);
    waveform = new CSampleSliceView(context, &pane);
    scrollBar = new QScrollBar(Qt::Horizontal, &pane);
    magnify = new CMagnifyView(&pane);

    auto rule = [this] {
        auto* view = new CColoredRectangleView(ViewColor::Rule, &pane);
        view->setFixedHeight(1);
        return view;
    };
    auto* column = new QVBoxLayout(&pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(overview);
    column->addWidget(rule());
    column->addWidget(ruler);
    column->addWidget(strip);
    column->addWidget(waveform, 1);
    column->addWidget(rule());
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    bottom->addWidget(scrollBar, 1);
    bottom->addWidget(magnify);
    column->addLayout(bottom);

    QObject::connect(scrollBar, &QScrollBar::actionTriggered, &pane, [this](int action) { ScrollBarAction(action); });
    magnify->SetMoved([this](int value) { MagnifyMoved(value); });
}

TimeWindow CWaveformPane::Views::Main() const
{
    TimeWindow window = waveform->Window();
    const WAVE_SAMPLE* sound = context.document.Sound();
    window.totalStart = 0;
    window.totalEnd = sound ? sound->Length() : 0;
    return window;
}

void CWaveformPane::Views::Apply(TimeWindow window)
{
    window.SnapToPixels();
    const bool changed = !(window == waveform->Window());
    waveform->ShowStretch(window);
    ruler->ShowStretch(window);
    strip->ShowStretch(window);
    TimeWindow whole = window;
    whole.visibleStart = window.totalStart;
    whole.visibleEnd = window.totalEnd;
    overview->ShowStretch(whole);
    overview->FrameChanged();
    SyncControls();
    if (changed && ready)
        actions.VisibleRangeChanged();
}

void CWaveformPane::Views::SyncControls()
{
    const TimeWindow& window = waveform->Window();
    {
        const QSignalBlocker blocker(scrollBar);
        // The thumb is to the track as the visible span to the whole: with
        // positions 0 .. 999 standing for the hidden part, the page is the
        // visible part in those units. With nothing hidden there is nothing
        // to scroll, and the thumb fills the track.
        const int64_t hidden = int64_t(window.TotalSpan()) - window.VisibleSpan();
        if (hidden > 0) {
            scrollBar->setRange(0, kScrollSteps);
            scrollBar->setPageStep(static_cast<int>(
                std::clamp<int64_t>(kScrollSteps * int64_t(window.VisibleSpan()) / hidden, 1, 1000000)));
        } else {
            scrollBar->setRange(0, 0);
            scrollBar->setPageStep(kScrollSteps);
        }
        scrollBar->setValue(ScrollValueOfWindow(window));
        scrollBar->setEnabled(hidden > 0);
    }
    if (!magnifying)
        magnify->ShowValue(MagnificationOfSpan(window.VisibleSpan(), window.PixelWidth(), window.TotalSpan()));
}

void CWaveformPane::Views::ShowStretch(int32_t start, int32_t end)
{
    TimeWindow window = Main();
    window.SetVisible(start, end);
    Apply(window);
}

void CWaveformPane::Views::ScrollMainTo(int32_t start)
{
    TimeWindow window = Main();
    window.ScrollTo(start);
    Apply(window);
}

void CWaveformPane::Views::ZoomInAround(int32_t frame)
{
    TimeWindow window = Main();
    // At one frame per pixel a zoom would only shift the stretch.
    if (window.FramesPerPixel() <= 1)
        return;
    window.ZoomInAround(frame);
    Apply(window);
}

void CWaveformPane::Views::ZoomOut()
{
    TimeWindow window = Main();
    window.ZoomOut();
    Apply(window);
}

void CWaveformPane::Views::LocatorsEdited()
{
    waveform->Refresh();
    overview->Refresh();
    ruler->Refresh();
}

void CWaveformPane::Views::ViewResized()
{
    if (!ready)
        return;
    const TimeWindow window = Main();
    ShowStretch(window.visibleStart, window.visibleEnd);
}

void CWaveformPane::Views::ScrollBarAction(int action)
{
    TimeWindow window = Main();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderSingleStepSub:
        window.ScrollByTenth(action == QAbstractSlider::SliderSingleStepAdd);
        break;
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderPageStepSub:
        window.ScrollByPage(action == QAbstractSlider::SliderPageStepAdd);
        break;
    case QAbstractSlider::SliderToMinimum:
        window.ScrollTo(window.totalStart);
        break;
    case QAbstractSlider::SliderToMaximum:
        window.ScrollTo(window.totalEnd);
        break;
    case QAbstractSlider::SliderMove:
        window.ScrollTo(StartOfScrollValue(scrollBar->sliderPosition(), window));
        break;
    default:
        return;
    }
    Apply(window);
    // The scroll bar takes this position once the action is over.
    scrollBar->setSliderPosition(ScrollValueOfWindow(waveform->Window()));
}

void CWaveformPane::Views::MagnifyMoved(int value)
{
    const TimeWindow window = Main();
    const int32_t span = SpanOfMagnification(value, window.PixelWidth(), window.TotalSpan());
    magnifying = true;
    ShowStretch(window.visibleStart, window.visibleStart + span);
    magnifying = false;
}

void CWaveformPane::Views::ApplyPreferences()
{
    const WaveformStyle style = CWaveSampleView::StyleOfLook(static_cast<int>(preferences.waveformLook));
    waveform->SetStyle(style);
    overview->SetStyle(style);
    waveform->Refresh();
    overview->Refresh();
}

void CWaveformPane::Views::UpdatePointers()
{
    const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
    if (waveform->underMouse())
        waveform->UpdatePointer(modifiers);
    if (overview->underMouse())
        overview->UpdatePointer(overview->mapFromGlobal(QCursor::pos()).x(), modifiers);
    if (strip->underMouse())
        strip->UpdatePointer(strip->mapFromGlobal(QCursor::pos()));
}

CWaveformPane::CWaveformPane(CSoundDocument& document, CViewActions& actions,
                             const SApplicationPreferences& preferences, QWidget* parent)
    : QWidget(parent), views_(std::make_unique<Views>(*this, document, actions, preferences))
{
    // Enough for a 640 x 360 window to show every strip unclipped.
    setMinimumSize(240, 170);
    views_->ApplyPreferences();
    views_->ready = true;
    ShowAll();
}

CWaveformPane::~CWaveformPane() = default;

const TimeWindow& CWaveformPane::Visible() const { return views_->MainWindow(); }

void CWaveformPane::ShowAll()
{
    const TimeWindow window = views_->Main();
    views_->ShowStretch(window.totalStart, window.totalEnd);
}

void CWaveformPane::ShowLoop()
{
    const WAVE_SAMPLE* sound = views_->context.document.Sound();
    if (sound)
        views_->ShowStretch(sound->LoopStart(), sound->LoopEnd());
}

void CWaveformPane::ZoomIn()
{
    TimeWindow window = views_->Main();
    if (window.FramesPerPixel() <= 1)
        return;
    window.ZoomIn();
    views_->Apply(window);
}

void CWaveformPane::ZoomOut() { views_->ZoomOut(); }

void CWaveformPane::SetVisible(int32_t start, int32_t end) { views_->ShowStretch(start, end); }

void CWaveformPane::SlicesChanged()
{
    views_->waveform->Refresh();
    views_->strip->Refresh();
    views_->context.document.Slices().ClearChanged();
}

void CWaveformPane::LocatorsChanged() { views_->LocatorsEdited(); }

void CWaveformPane::ToolChanged() { views_->UpdatePointers(); }

void CWaveformPane::PreferencesChanged() { views_->ApplyPreferences(); }

void CWaveformPane::IdleStep()
{
    Views& v = *views_;
    const int32_t position = v.actions.CursorPosition();
    const bool playing = v.actions.Playing();
    const TimeWindow window = v.Main();
    if ((playing || v.following) && v.preferences.scrollDuringPlayback && !v.mouseHeld &&
        (position < window.visibleStart || position >= window.visibleEnd)) {
        // The cursor comes to stand a twentieth of the width from the left.
        const int32_t span = window.VisibleSpan();
        const int32_t start = std::max(window.totalStart, std::min(position - span / 20, window.totalEnd - span));
        v.ShowStretch(start, start + span);
    }
    v.following = playing;
    v.waveform->ShowCursor(position);
    v.overview->ShowCursor(position);
    v.UpdatePointers();
}

} // namespace quorvel
