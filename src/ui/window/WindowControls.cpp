#include "ui/window/WindowControls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "document/TimeSignature.h"
#include "ui/window/ControlIcons.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

constexpr int kButtonSize = 24;
constexpr int kFaderWidth = 60;
constexpr int kGroupGap = 6;
constexpr qreal kFontScale = 0.9;

// Tool tips of the controls (string table 129, 200 onwards).
namespace tip {
constexpr uint32_t kStop = 200;
constexpr uint32_t kStretch = 205;
constexpr uint32_t kOneSample = 206;
constexpr uint32_t kNewTempo = 210;
constexpr uint32_t kTransmit = 211;
constexpr uint32_t kArrow = 212;
constexpr uint32_t kSensitivity = 216;
constexpr uint32_t kBars = 217;
constexpr uint32_t kBeats = 218;
constexpr uint32_t kSign = 219;
constexpr uint32_t kTempo = 220;
} // namespace tip

// The transport buttons' tips run Stop, Play loop, previous, current, next.
constexpr std::array<ControlPicture, 5> kTransportPictures{ControlPicture::Stop, ControlPicture::PlayLoop,
                                                           ControlPicture::PlayPrevious, ControlPicture::PlayCurrent,
                                                           ControlPicture::PlayNext};
constexpr std::array<ControlPicture, 4> kOptionPictures{ControlPicture::OneSample, ControlPicture::Normalize,
                                                        ControlPicture::SilenceSelected, ControlPicture::PitchMode};
constexpr std::array<ControlPicture, 4> kToolPictures{ControlPicture::ArrowTool, ControlPicture::HideTool,
                                                      ControlPicture::LockTool, ControlPicture::PenTool};

QHBoxLayout* Row()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    return row;
}

// A fixed-width value text, wide enough for its longest value.
QLabel* ValueText(const QString& widest, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 4);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

CWindowControls::CWindowControls(QWidget* parent) : QWidget(parent)
{
    // A slightly smaller face keeps both rows within a new window's width.
    QFont compact = font();
    compact.setPointSizeF(compact.pointSizeF() * kFontScale);
    setFont(compact);
    strip_ = new QWidget(this);

    for (size_t i = 0; i < transport_.size(); ++i)
        transport_[i] = MakeButton(static_cast<int>(kTransportPictures[i]), tip::kStop + uint32_t(i), true);
    for (size_t i = 0; i < options_.size(); ++i)
        options_[i] = MakeButton(static_cast<int>(kOptionPictures[i]), tip::kOneSample + uint32_t(i), true);
    toolGroup_ = new QButtonGroup(this);
    toolGroup_->setExclusive(true);
    for (size_t i = 0; i < tools_.size(); ++i) {
        tools_[i] = MakeButton(static_cast<int>(kToolPictures[i]), tip::kArrow + uint32_t(i), true);
        toolGroup_->addButton(tools_[i], static_cast<int>(i));
    }
    transmit_ = MakeButton(static_cast<int>(ControlPicture::Transmit), tip::kTransmit, false);
    // The window enables it while the current target can take a transmission.
    transmit_->setEnabled(false);

    sensitivity_ = MakeFader(tip::kSensitivity);
    sensitivityText_ = ValueText("99", strip_);
    stretch_ = MakeFader(tip::kStretch);
    stretchText_ = ValueText("100%", strip_);

    bars_ = new QLineEdit(strip_);
    bars_->setToolTip(WindowText(tip::kBars));
    bars_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), bars_));
    bars_->setMaxLength(4);
    bars_->setFixedWidth(bars_->fontMetrics().horizontalAdvance("0000") + 14);
    bars_->setAlignment(Qt::AlignRight);
    // A file dragged from a file manager carries its path as text too; on a
    // field it opens like anywhere else on the window instead of being typed.
    bars_->setAcceptDrops(false);

    beats_ = new QComboBox(strip_);
    beats_->setToolTip(WindowText(tip::kBeats));
    for (int beats = 0; beats <= 7; ++beats)
        beats_->addItem(QString::number(beats));
    sign_ = new QComboBox(strip_);
    sign_->setToolTip(WindowText(tip::kSign));
    for (const TimeSignature& signature : kTimeSignatures)
        sign_->addItem(QString("%1/%2").arg(signature.numerator).arg(signature.denominator));

    tempo_ = ValueText("999.999 BPM", strip_);
    tempo_->setToolTip(WindowText(tip::kTempo));

    newTempo_ = new QLineEdit(strip_);
    newTempo_->setToolTip(WindowText(tip::kNewTempo));
    newTempo_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), newTempo_));
    newTempo_->setMaxLength(10);
    newTempo_->setFixedWidth(newTempo_->fontMetrics().horizontalAdvance("000.000") + 14);
    newTempo_->setAlignment(Qt::AlignRight);
    newTempo_->setAcceptDrops(false);

    // Row 1: playing, the tools, how the loop is cut, and the output options.
    QHBoxLayout* first = Row();
    for (QToolButton* button : transport_)
        first->addWidget(button);
    first->addSpacing(kGroupGap);
    for (QToolButton* button : tools_)
        first->addWidget(button);
    first->addSpacing(kGroupGap);
    first->addWidget(MakeLabel(windowtext::kSensitivityLabel, sensitivity_));
    first->addWidget(sensitivity_);
    first->addWidget(sensitivityText_);
    first->addSpacing(kGroupGap);
    first->addWidget(MakeLabel(windowtext::kStretchLabel, stretch_));
    first->addWidget(stretch_);
    first->addWidget(stretchText_);
    first->addSpacing(kGroupGap);
    for (QToolButton* button : options_)
        first->addWidget(button);
    first->addStretch(1);

    // Row 2: the loop's musical length and tempo, and the output's tempo.
    QHBoxLayout* second = Row();
    second->addWidget(MakeLabel(windowtext::kBarsLabel, bars_));
    second->addWidget(bars_);
    second->addSpacing(4);
    second->addWidget(MakeLabel(windowtext::kBeatsLabel, beats_));
    second->addWidget(beats_);
    second->addSpacing(4);
    second->addWidget(MakeLabel(windowtext::kSignLabel, sign_));
    second->addWidget(sign_);
    second->addSpacing(kGroupGap);
    second->addWidget(MakeLabel(windowtext::kTempoLabel, tempo_));
    second->addWidget(tempo_);
    second->addSpacing(kGroupGap);
    newTempoLabel_ = MakeLabel(windowtext::kNewTempoLabel, newTempo_);
    second->addWidget(newTempoLabel_);
    second->addWidget(newTempo_);
    second->addStretch(1);
    second->addWidget(transmit_);

    auto* rows = new QVBoxLayout(strip_);
    rows->setContentsMargins(4, 3, 4, 3);
    rows->setSpacing(3);
    rows->addLayout(first);
    rows->addLayout(second);
    // A narrow window cuts the rows off at the right rather than squeezing
    // the controls into each other.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(strip_->sizeHint().height());
}

QSize CWindowControls::sizeHint() const
{
    return strip_->sizeHint();
}

void CWindowControls::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    strip_->setGeometry(0, 0, std::max(width(), strip_->sizeHint().width()), height());
}

QToolButton* CWindowControls::MakeButton(int picture, uint32_t toolTip, bool checkable)
{
    auto* button = new QToolButton(strip_);
    button->setIcon(ControlIcon(static_cast<ControlPicture>(picture), palette().color(QPalette::ButtonText)));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setToolTip(WindowText(toolTip));
    button->setCheckable(checkable);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QSlider* CWindowControls::MakeFader(uint32_t toolTip)
{
    auto* fader = new QSlider(Qt::Horizontal, strip_);
    fader->setRange(0, kFaderMaximum);
    fader->setPageStep(10);
    fader->setFixedWidth(kFaderWidth);
    fader->setToolTip(WindowText(toolTip));
    return fader;
}

QLabel* CWindowControls::MakeLabel(uint32_t text, QWidget* buddy)
{
    auto* label = new QLabel(WindowText(text), strip_);
    label->setBuddy(buddy);
    return label;
}

} // namespace quorvel
