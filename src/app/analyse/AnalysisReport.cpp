#include "app/analyse/AnalysisReport.h"

#include <iomanip>

#include "analysis/SensitivityThreshold.h"
#include "analysis/TempoText.h"
#include "document/SampleRateText.h"

namespace quorvel {

void PrintAnalysisReport(std::ostream& out, const CSoundDocument& document)
{
    const WAVE_SAMPLE& sound = *document.Sound();
    const CSliceList& slices = document.Slices();
    int active = 0;
    for (int i = 0; i < slices.Count(); ++i)
        active += Passes(slices.At(i), SliceFilter::Active);

    out << document.WindowTitle() << "\n"
        << "  frames       " << sound.Length() << " at " << SampleRateText(sound.SampleRate()) << "\n"
        << "  locators     " << sound.LoopStart() << " .. " << sound.LoopEnd() << "\n"
        << "  length       " << document.Bars() << " bars " << document.Beats() << " beats in "
        << document.Numerator() << "/" << document.Denominator() << "\n"
        << "  tempo        " << TempoLabel(document.Tempo()) << "\n"
        << "  sensitivity  " << document.Sensitivity() / 10 << " (threshold "
        << SensitivityThreshold(document.Sensitivity()) << ")\n"
        << "  slices       " << slices.Count() << " found, " << active << " cut the loop\n\n"
        << "     #    position  strength  state   active\n";
    for (int i = 0; i < slices.Count(); ++i) {
        const CSlice& slice = slices.At(i);
        out << std::setw(6) << i + 1 << std::setw(12) << slice.position << std::setw(10) << slice.strength << "  "
            << std::left << std::setw(8) << SliceStateName(slice.state) << std::right
            << (Passes(slice, SliceFilter::Active) ? "yes" : "") << "\n";
    }
}

} // namespace quorvel
