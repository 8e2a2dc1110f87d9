// The document window's menu commands and keys.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

#include "ui/ApplicationPreferences.h"
#include "ui/views/WaveformPane.h"
#include "document/CurrentSliceRules.h"
#include "ui/window/QuorvelWindowParts.h"
#include "document/SliceTools.h"
#include "samplers/SamplerModels.h"
#include "ui/window/WindowControls.h"
#include "ui/window/WindowKeys.h"
#include "ui/window/WindowServices.h"

namespace quorvel {

namespace {

constexpr int32_t kSensitivityKeyStep = 10;

} // namespace

// ---- Commands ----------------------------------------------------------------

bool CQuorvelWindow::HandleCommand(uint32_t command)
{
    CSoundDocument& d = *parts_->document;
    switch (command) {
    case kCmdClose:
        RequestClose();
        return true;
    case kCmdSave:
        parts_->files.Save();
        break;
    case kCmdSaveAs:
        parts_->files.SaveAs();
        break;
    case kCmdExportSound:
        parts_->files.ExportSound();
        break;
    case kCmdExportGrooveMIDI:
        parts_->files.ExportGrooveMIDI();
        break;
    case kCmdExportQLX:
        parts_->files.ExportQLX();
        break;
    case kCmdExportSfz:
        ExportInstrument(kSfzModel);
        return true;
    case kCmdExportHydrogenKit:
        ExportInstrument(kHydrogenKitModel);
        return true;
    case kCmdMagnifyToFit:
        parts_->pane->ShowAll();
        return true;
    case kCmdMagnifyToFitLoop:
        parts_->pane->ShowLoop();
        return true;
    case kCmdSelectAll:
        SlicesEdited(SelectAllShown(d.Slices()));
        return true;
    case kCmdInvertSelection:
        SlicesEdited(InvertShownSelection(d.Slices()));
        return true;
    case kCmdTransmit:
        Transmit();
        return true;
    case kCmdPitchToNewTempo:
        d.SetPitchMode(!d.PitchMode());
        break;
    case kCmdTransmitAsOneSample:
        d.SetSeparateSamples(!d.SeparateSamples());
        break;
    case kCmdNormalize:
        d.SetTransmitNormalized(!d.TransmitNormalized());
        break;
    case kCmdSilenceSelected:
        d.SetSilenceSelected(!d.SilenceSelected());
        break;
    default:
        return CDocumentWindow::HandleCommand(command);
    }
    Refresh();
    return true;
}

std::optional<SCommandStatus> CQuorvelWindow::CommandStatus(uint32_t command)
{
    const CSoundDocument& d = *parts_->document;
    const bool hasSound = d.Sound() != nullptr;
    switch (command) {
    case kCmdClose:
    case kCmdMagnifyToFit:
    case kCmdMagnifyToFitLoop:
        return SCommandStatus{true, false};
    case kCmdSave:
        return SCommandStatus{d.DocumentFile().has_value() && d.Modified(), false};
    case kCmdSaveAs:
    case kCmdExportSound:
    case kCmdExportGrooveMIDI:
    case kCmdExportQLX:
    case kCmdExportSfz:
    case kCmdExportHydrogenKit:
        return SCommandStatus{hasSound, false};
    case kCmdSelectAll:
        return SCommandStatus{AnyShown(d.Slices()), false};
    case kCmdInvertSelection:
        return SCommandStatus{AnyShownSelected(d.Slices()), false};
    case kCmdTransmit:
        return SCommandStatus{hasSound && parts_->services.TransmitAvailable(), false};
    case kCmdPitchToNewTempo:
        return SCommandStatus{true, d.PitchMode()};
    case kCmdTransmitAsOneSample:
        return SCommandStatus{true, !d.SeparateSamples()};
    case kCmdNormalize:
        return SCommandStatus{true, d.TransmitNormalized()};
    case kCmdSilenceSelected:
        return SCommandStatus{true, d.SilenceSelected()};
    default:
        return CDocumentWindow::CommandStatus(command);
    }
}

// ---- Keys --------------------------------------------------------------------

CQuorvelWindow::KeyFilter::KeyFilter(CQuorvelWindow& window) : window_(window)
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == nullptr || (now != &window_ && !window_.isAncestorOf(now)))
            held_.Clear();
    });
}

bool CQuorvelWindow::KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if ((!press && event->type() != QEvent::KeyRelease) || !watched->isWidgetType())
        return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target != &window_ && !window_.isAncestorOf(target))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // The numeric pad's keys are keys of their own.
    const int physical = key->key() | (key->modifiers() & Qt::KeypadModifier).toInt();
    if (!press) {
        held_.Released(physical, key->isAutoRepeat(), key->timestamp());
        return false;
    }
    const bool firstPress = held_.Pressed(physical, key->isAutoRepeat(), key->timestamp());
    if (qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        return false;
    return window_.HandleKey(key->key(), key->modifiers(), firstPress);
}

bool CQuorvelWindow::HandleKey(int key, Qt::KeyboardModifiers modifiers, bool firstPress)
{
    const SKeyBinding binding = BindingForKey(key, modifiers);
    if (binding.command == KeyCommand::None)
        return false;
    if (binding.firstPressOnly && !firstPress)
        return true;

    CSoundDocument& d = *parts_->document;
    CWindowControls& c = *parts_->controls;
    // Keys of the transport press the button, so a disabled one does nothing.
    auto press = [&c](TransportButton button) {
        if (c.Transport(button)->isEnabled())
            c.Transport(button)->click();
    };
    switch (binding.command) {
    case KeyCommand::None:
        break;
    case KeyCommand::ChooseTool:
        ChooseTool(binding.value);
        break;
    case KeyCommand::SetSensitivity:
        ChangeSensitivity(binding.value);
        break;
    case KeyCommand::SensitivityUp:
        ChangeSensitivity(std::min(d.Sensitivity() + kSensitivityKeyStep, CSoundDocument::kMaxSensitivity));
        break;
    case KeyCommand::SensitivityDown:
        ChangeSensitivity(std::max(d.Sensitivity() - kSensitivityKeyStep, 0));
        break;
    case KeyCommand::ZoomIn:
        parts_->pane->ZoomIn();
        break;
    case KeyCommand::ZoomOut:
        parts_->pane->ZoomOut();
        break;
    case KeyCommand::ToggleScrollDuringPlayback: {
        bool& scroll = parts_->services.Settings().application.scrollDuringPlayback;
        scroll = !scroll;
        parts_->services.PreferencesChanged();
        break;
    }
    case KeyCommand::PreviousSlice:
        StepToPreviousSlice(d);
        parts_->pane->IdleStep();
        break;
    case KeyCommand::NextSlice:
        StepToNextSlice(d);
        parts_->pane->IdleStep();
        break;
    case KeyCommand::JumpToLeftLocator:
        parts_->commands.JumpToLeftLocator();
        parts_->pane->IdleStep();
        break;
    case KeyCommand::JumpToRightLocator:
        parts_->commands.JumpToRightLocator();
        parts_->pane->IdleStep();
        break;
    case KeyCommand::StopOrPlayLoop:
        press(parts_->commands.IsPlaying() ? TransportButton::Stop : TransportButton::PlayLoop);
        break;
    case KeyCommand::PlayCurrentSlice:
        press(TransportButton::PlayCurrent);
        break;
    case KeyCommand::PlayPreviousSlice:
        press(TransportButton::PlayPrevious);
        break;
    case KeyCommand::PlaySliceAndMoveToNext:
        press(TransportButton::PlayNext);
        break;
    case KeyCommand::Stop:
        press(TransportButton::Stop);
        break;
    case KeyCommand::PlayLoop:
        press(TransportButton::PlayLoop);
        break;
    }
    return true;
}

} // namespace quorvel
