#include "analysis/OutputTempoSettings.h"

#include "analysis/Tempo.h"

namespace quorvel {

OutputTempoSettings MakeOutputTempoSettings(int32_t numerator, int32_t denominator, int32_t ticks, bool pitchMode,
                                            int32_t tempo, int32_t newTempo)
{
    OutputTempoSettings settings;
    settings.numerator = static_cast<int16_t>(numerator);
    settings.denominator = static_cast<int16_t>(denominator);
    settings.ticks = ticks;
    settings.pitchMode = pitchMode;
    if (pitchMode && tempo != 0 && newTempo != 0) {
        settings.pitchCents = PitchCents(newTempo, tempo);
        settings.tempo = newTempo;
    } else {
        settings.pitchCents = 0;
        settings.tempo = tempo;
    }
    return settings;
}

} // namespace quorvel
