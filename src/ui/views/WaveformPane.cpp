// Placeholder until the views land: lays out nothing.
#include "ui/views/WaveformPane.h"

#include "ui/views/TimeWindow.h"

namespace quorvel {

struct CWaveformPane::Views {
    TimeWindow visible;
};

CWaveformPane::CWaveformPane(CSoundDocument&, CViewActions&, const SApplicationPreferences&, QWidget* parent)
    : QWidget(parent), views_(std::make_unique<Views>())
{
}
CWaveformPane::~CWaveformPane() = default;
const TimeWindow& CWaveformPane::Visible() const { return views_->visible; }
void CWaveformPane::ShowAll() {}
void CWaveformPane::ShowLoop() {}
void CWaveformPane::ZoomIn() {}
void CWaveformPane::ZoomOut() {}
void CWaveformPane::SetVisible(int32_t, int32_t) {}
void CWaveformPane::SlicesChanged() {}
void CWaveformPane::LocatorsChanged() {}
void CWaveformPane::ToolChanged() {}
void CWaveformPane::PreferencesChanged() {}
void CWaveformPane::IdleStep() {}

} // namespace quorvel
