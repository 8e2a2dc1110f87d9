#include "ui/window/QuorvelWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <exception>

#include "analysis/TempoText.h"
#include "document/SoundDocument.h"
#include "document/StretchAmount.h"
#include "framework/window/AlertBox.h"
#include "ui/ApplicationPreferences.h"
#include "ui/views/WaveformPane.h"
#include "document/CurrentSliceRules.h"
#include "ui/window/KeptDocuments.h"
#include "ui/window/SaveBeforeCloseDialog.h"
#include "ui/window/WindowControls.h"
#include "ui/window/WindowServices.h"
#include "ui/window/QuorvelWindowParts.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

constexpr int kMinimumContentWidth = 274;
constexpr int kMinimumContentHeight = 256;
// Alert 16 lists [No][Yes]; slot 0 is the last listed.
constexpr int kMoveLocatorYes = AlertResultForSlot(0);

// The transport button that shows each play mode while playing.
TransportButton ButtonOfMode(PlayMode mode)
{
    switch (mode) {
    case PlayMode::CurrentSlice:
        return TransportButton::PlayCurrent;
    case PlayMode::PreviousSlice:
        return TransportButton::PlayPrevious;
    case PlayMode::NextSlice:
        return TransportButton::PlayNext;
    case PlayMode::Loop:
        break;
    }
    return TransportButton::PlayLoop;
}

QString StretchText(int16_t index)
{
    return index == 0 ? QString("Off") : QString("%1%").arg(StretchPercent(index));
}

// Shows `text` unless the user is in the middle of typing there.
void ShowFieldText(QLineEdit& field, const QString& text)
{
    if (field.hasFocus() && field.isModified())
        return;
    if (field.text() != text)
        field.setText(text);
}

} // namespace


CQuorvelWindow::CQuorvelWindow(std::unique_ptr<CSoundDocument> document, CWindowServices& services, QWidget* parent)
    : CDocumentWindow(parent), parts_(std::make_unique<Parts>(*this, std::move(document), services))
{
    auto* content = new QWidget(this);
    content->setMinimumSize(kMinimumContentWidth, kMinimumContentHeight);
    parts_->controls = new CWindowControls(content);
    parts_->pane = new CWaveformPane(*parts_->document, parts_->actions, services.Settings().application, content);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(parts_->controls);
    layout->addWidget(parts_->pane, 1);
    setWidget(content);
    resize(kInitialWidth, kInitialHeight);

    ConnectControls();
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
        if ((before ^ now).testFlag(Qt::WindowActive))
            WriteBackDefaults();
    });
    Refresh();
}

CQuorvelWindow::~CQuorvelWindow()
{
    // Qt's base destructor still reports a state change; by then the parts
    // are gone, so nothing of ours may answer it.
    disconnect(this, &QMdiSubWindow::windowStateChanged, this, nullptr);
    parts_->destroying = true;
    CSoundDocument& document = *parts_->document;
    // The player reads the sound's store directly: it must let go first.
    if (parts_->commands.IsPlaying())
        parts_->services.Player().Stop();
    SSettings& settings = parts_->services.Settings();
    if (document.DocumentFile())
        settings.recentDocuments.Add(*document.DocumentFile());
    else if (document.SourceFile())
        settings.recentDocuments.Add(*document.SourceFile());
    WriteBackDefaults();
    // The views refer to the document and the actions: they go first.
    delete widget();
}

QSize CQuorvelWindow::ArrangedMinimumSize() const
{
    const CWindowControls& controls = *parts_->controls;
    const QSize content(std::max(kMinimumContentWidth, controls.sizeHint().width()),
                        std::max(kMinimumContentHeight,
                                 controls.sizeHint().height() + parts_->pane->minimumSizeHint().height()));
    const QMargins frame = contentsMargins();
    return content.grownBy(frame).expandedTo(CDocumentWindow::ArrangedMinimumSize());
}

CSoundDocument& CQuorvelWindow::Document() { return *parts_->document; }
CWindowControls& CQuorvelWindow::Controls() { return *parts_->controls; }
CWaveformPane& CQuorvelWindow::Pane() { return *parts_->pane; }
CViewActions& CQuorvelWindow::Actions() { return parts_->actions; }

void CQuorvelWindow::WriteBackDefaults()
{
    parts_->document->WriteDefaults(parts_->services.Settings().documentDefaults);
}

// ---- Controls --------------------------------------------------------------

void CQuorvelWindow::ConnectControls()
{
    CWindowControls& c = *parts_->controls;
    CSoundDocument& d = *parts_->document;
    auto apply = [this](bool) { Refresh(); };

    for (int button = 0; button < 5; ++button)
        connect(c.Transport(static_cast<TransportButton>(button)), &QToolButton::clicked, this,
                [this, button] { PressTransport(button); });
    connect(c.ToolGroup(), &QButtonGroup::idClicked, this, &CQuorvelWindow::ChooseTool);
    connect(c.Transmit(), &QToolButton::clicked, this, &CQuorvelWindow::Transmit);

    connect(c.Option(OptionButton::OneSample), &QToolButton::toggled, this,
            [&d, apply](bool on) { apply(d.SetSeparateSamples(!on)); });
    connect(c.Option(OptionButton::Normalize), &QToolButton::toggled, this,
            [&d, apply](bool on) { apply(d.SetTransmitNormalized(on)); });
    connect(c.Option(OptionButton::SilenceSelected), &QToolButton::toggled, this,
            [&d, apply](bool on) { apply(d.SetSilenceSelected(on)); });
    connect(c.Option(OptionButton::PitchMode), &QToolButton::toggled, this,
            [&d, apply](bool on) { apply(d.SetPitchMode(on)); });

    connect(c.BeatsPopup(), &QComboBox::currentIndexChanged, this,
            [&d, apply](int index) { apply(d.SetBeats(index)); });
    connect(c.SignPopup(), &QComboBox::currentIndexChanged, this,
            [&d, apply](int index) { apply(d.SetTimeSignatureIndex(index)); });
    connect(c.BarsField(), &QLineEdit::editingFinished, this, [&d, &c, apply] {
        c.BarsField()->setModified(false);
        apply(d.SetBars(ParseBars(c.BarsField()->text().toStdString())));
    });
    connect(c.NewTempoField(), &QLineEdit::editingFinished, this, [&d, &c, apply] {
        c.NewTempoField()->setModified(false);
        apply(d.SetNewTempo(ParseNewTempo(c.NewTempoField()->text().toStdString())));
    });

    connect(c.SensitivityFader(), &QSlider::valueChanged, this, &CQuorvelWindow::ChangeSensitivity);
    connect(c.StretchFader(), &QSlider::valueChanged, this,
            [&d, apply](int position) { apply(d.SetStretchIndex(StretchIndexFromFader(position))); });
}

void CQuorvelWindow::Transmit()
{
    CSoundDocument& document = *parts_->document;
    if (document.Sound() == nullptr || !parts_->services.TransmitAvailable() || !parts_->files.EnsureLength())
        return;
    parts_->services.Transmit(document, this);
    Refresh();
}

void CQuorvelWindow::ExportInstrument(uint32_t modelTypeId)
{
    CSoundDocument& document = *parts_->document;
    if (document.Sound() == nullptr || !parts_->files.EnsureLength())
        return;
    parts_->services.ExportInstrument(modelTypeId, document, this);
    Refresh();
}

void CQuorvelWindow::ChangeSensitivity(int32_t sliderValue)
{
    if (parts_->document->SetSensitivity(sliderValue))
        parts_->pane->SlicesChanged();
    Refresh();
}

void CQuorvelWindow::ChooseTool(int tool)
{
    parts_->document->SetTool(static_cast<DocumentTool>(std::clamp(tool, 0, 3)));
    parts_->pane->ToolChanged();
    Refresh();
}

void CQuorvelWindow::PressTransport(int button)
{
    CPlayCommands& commands = parts_->commands;
    commands.SetSoundEnabled(parts_->services.SoundAvailable());
    switch (static_cast<TransportButton>(button)) {
    case TransportButton::Stop:
        commands.Stop();
        break;
    case TransportButton::PlayLoop:
        commands.PlayLoop();
        break;
    case TransportButton::PlayPrevious:
        commands.PlayPreviousSlice();
        break;
    case TransportButton::PlayCurrent:
        commands.PlayCurrentSlice();
        break;
    case TransportButton::PlayNext:
        commands.PlaySliceAndMoveToNext();
        break;
    }
    parts_->pane->IdleStep();
    RefreshTransport();
}

void CQuorvelWindow::SlicesEdited(bool changed)
{
    if (!changed)
        return;
    parts_->document->SetModified();
    parts_->pane->SlicesChanged();
    Refresh();
}

// ---- Display ---------------------------------------------------------------

void CQuorvelWindow::Refresh()
{
    CWindowControls& c = *parts_->controls;
    CSoundDocument& d = *parts_->document;
    const QSignalBlocker blockers[] = {
        QSignalBlocker(c.SensitivityFader()), QSignalBlocker(c.StretchFader()),
        QSignalBlocker(c.Option(OptionButton::OneSample)), QSignalBlocker(c.Option(OptionButton::Normalize)),
        QSignalBlocker(c.Option(OptionButton::SilenceSelected)), QSignalBlocker(c.Option(OptionButton::PitchMode)),
        QSignalBlocker(c.BeatsPopup()), QSignalBlocker(c.SignPopup()), QSignalBlocker(c.ToolGroup())};

    const int32_t sensitivity = d.Sensitivity();
    c.SensitivityFader()->setValue(CWindowControls::kFaderMaximum * sensitivity / CSoundDocument::kMaxSensitivity);
    c.SensitivityText()->setText(QString::number(sensitivity / 10));

    const int16_t stretch = d.StretchIndex();
    if (StretchIndexFromFader(c.StretchFader()->value()) != stretch)
        c.StretchFader()->setValue(StretchFaderPosition(stretch));
    c.StretchText()->setText(StretchText(stretch));

    c.Option(OptionButton::OneSample)->setChecked(!d.SeparateSamples());
    c.Option(OptionButton::Normalize)->setChecked(d.TransmitNormalized());
    c.Option(OptionButton::SilenceSelected)->setChecked(d.SilenceSelected());
    c.Option(OptionButton::PitchMode)->setChecked(d.PitchMode());
    c.NewTempoField()->setEnabled(d.PitchMode());
    c.NewTempoLabel()->setEnabled(d.PitchMode());

    c.Tool(static_cast<int>(d.Tool()))->setChecked(true);

    d.RefreshTempo();
    c.TempoText()->setText(QString::fromStdString(TempoLabel(d.Tempo())));
    ShowFieldText(*c.BarsField(), QString::number(d.Bars()));
    ShowFieldText(*c.NewTempoField(), QString::fromStdString(NewTempoFieldText(d.NewTempo())));
    c.BeatsPopup()->setCurrentIndex(d.Beats());
    c.SignPopup()->setCurrentIndex(d.TimeSignatureIndex());

    RefreshTransport();
    c.Transmit()->setEnabled(d.Sound() != nullptr && parts_->services.TransmitAvailable());
    if (ReconcileCurrentSlice(d))
        parts_->pane->IdleStep();
    RefreshTitle();
}

void CQuorvelWindow::RefreshTransport()
{
    if (parts_->destroying)
        return;
    CWindowControls& c = *parts_->controls;
    const bool available = parts_->services.SoundAvailable();
    const bool playing = parts_->commands.IsPlaying();
    const TransportButton shown = ButtonOfMode(parts_->document->GetPlayMode());
    for (int i = 0; i < 5; ++i) {
        QToolButton* button = c.Transport(static_cast<TransportButton>(i));
        button->setEnabled(available);
        const bool down = playing && i != static_cast<int>(TransportButton::Stop) &&
                          static_cast<TransportButton>(i) == shown;
        if (button->isChecked() != down)
            button->setChecked(down);
    }
}

void CQuorvelWindow::RefreshTitle()
{
    std::string title = parts_->document->WindowTitle();
    if (title == parts_->shownTitle)
        return;
    parts_->shownTitle = title;
    setWindowTitle(QString::fromStdString(title));
}

void CQuorvelWindow::IdleStep()
{
    parts_->pane->IdleStep();
    RefreshTransport();
    RefreshTitle();
}

// ---- Opening and closing -----------------------------------------------------

void CQuorvelWindow::OfferLeftLocatorMove()
{
    CSoundDocument& d = *parts_->document;
    WAVE_SAMPLE* sound = d.Sound();
    if (!sound || d.Slices().Count() == 0)
        return;
    const int32_t first = d.Slices().At(0).position;
    if (first <= 0 || sound->LoopStart() != 0)
        return;
    const bool move = parts_->services.Settings().application.alwaysMoveLeftLocator ||
                      ShowAlert(WindowAlert(windowalert::kMoveLeftLocator), {}, this) == kMoveLocatorYes;
    if (!move)
        return;
    d.SetLocators(first, sound->LoopEnd());
    d.SetCurrentPosition(sound->LoopStart());
    d.SetModified();
    parts_->pane->LocatorsChanged();
    parts_->pane->IdleStep();
    Refresh();
}

bool CQuorvelWindow::MayClose()
{
    CSoundDocument& d = *parts_->document;
    if (parts_->commands.IsPlaying()) {
        parts_->services.Player().Stop();
        RefreshTransport();
    }
    if (!d.Sound() || (!d.Modified() && d.DocumentFile()))
        return true;
    CSaveBeforeCloseDialog question(d.Sound()->Name(), this);
    switch (question.Ask()) {
    case CSaveBeforeCloseDialog::No:
        return true;
    case CSaveBeforeCloseDialog::Yes: {
        const bool saved = parts_->files.Save();
        RefreshTitle();
        return saved;
    }
    case CSaveBeforeCloseDialog::Cancel:
        // Cancelled because the session ends: keep the document instead of
        // keeping the program. Should even that fail, the window stays, so
        // the document is still there to be saved.
        if (CModalDialog::AllCancelled()) {
            try {
                const std::string kept = KeepDocument(d);
                std::fprintf(stderr, "quorvel: kept unsaved %s as %s\n", d.Sound()->Name(), kept.c_str());
                return true;
            } catch (const std::exception& failure) {
                std::fprintf(stderr, "quorvel: could not keep %s: %s\n", d.Sound()->Name(), failure.what());
            }
        }
        break;
    }
    return false;
}

} // namespace quorvel
