#pragma once
// The document window's rows of controls: transport, tools, output options,
// the sensitivity and stretch faders, the loop's musical length and the
// tempo. Only builds and lays them out; the window connects and fills them.
#include <QWidget>

#include <array>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

namespace quorvel {

enum class TransportButton { Stop = 0, PlayLoop, PlayPrevious, PlayCurrent, PlayNext };
enum class OptionButton { OneSample = 0, Normalize, SilenceSelected, PitchMode };

class CWindowControls : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFaderMaximum = 999;

    explicit CWindowControls(QWidget* parent = nullptr);

    QToolButton* Transport(TransportButton which) const { return transport_[static_cast<size_t>(which)]; }
    QToolButton* Option(OptionButton which) const { return options_[static_cast<size_t>(which)]; }
    QToolButton* Tool(int tool) const { return tools_[static_cast<size_t>(tool)]; }
    QButtonGroup* ToolGroup() const { return toolGroup_; }
    QToolButton* Transmit() const { return transmit_; }

    QSlider* SensitivityFader() const { return sensitivity_; }
    QLabel* SensitivityText() const { return sensitivityText_; }
    QSlider* StretchFader() const { return stretch_; }
    QLabel* StretchText() const { return stretchText_; }
    QLineEdit* BarsField() const { return bars_; }
    QComboBox* BeatsPopup() const { return beats_; }
    QComboBox* SignPopup() const { return sign_; }
    QLabel* TempoText() const { return tempo_; }
    QLineEdit* NewTempoField() const { return newTempo_; }
    QLabel* NewTempoLabel() const { return newTempoLabel_; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* MakeButton(int picture, uint32_t toolTip, bool checkable);
    QSlider* MakeFader(uint32_t toolTip);
    QLabel* MakeLabel(uint32_t text, QWidget* buddy);

    QWidget* strip_ = nullptr; // holds the rows at their natural width
    std::array<QToolButton*, 5> transport_{};
    std::array<QToolButton*, 4> options_{};
    std::array<QToolButton*, 4> tools_{};
    QButtonGroup* toolGroup_ = nullptr;
    QToolButton* transmit_ = nullptr;
    QSlider* sensitivity_ = nullptr;
    QLabel* sensitivityText_ = nullptr;
    QSlider* stretch_ = nullptr;
    QLabel* stretchText_ = nullptr;
    QLineEdit* bars_ = nullptr;
    QComboBox* beats_ = nullptr;
    QComboBox* sign_ = nullptr;
    QLabel* tempo_ = nullptr;
    QLineEdit* newTempo_ = nullptr;
    QLabel* newTempoLabel_ = nullptr;
};

} // namespace quorvel
