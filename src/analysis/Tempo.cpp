#include "analysis/Tempo.h"

#include <cmath>
#include <cstdint>

namespace quorvel {

int32_t ComputeTempo(int32_t sampleRate, int32_t ticks, int32_t loopStart, int32_t loopEnd)
{
    if (loopStart == loopEnd)
        return 0;
    // The order of operations is fixed so that stored and displayed tempos
    // agree to the last digit.
    double tempo = double(sampleRate) * double(ticks) * 60.0 / ((double(loopEnd) - double(loopStart)) * 960.0) * 1000.0;
    if (tempo > double(kMaxTempo))
        tempo = double(kMaxTempo);
    if (!(tempo > 0.0))
        return 0;
    return static_cast<int32_t>(tempo);
}

int64_t TempoFromLength(int32_t lengthInFrames, int32_t sampleRate, int32_t ticks, int32_t ticksPerQuarter)
{
    if (lengthInFrames <= 0 || ticksPerQuarter <= 0)
        return 0;
    const double tempo =
        double(sampleRate) * double(ticks) * 60.0 / (double(lengthInFrames) * double(ticksPerQuarter)) * 1000.0;
    // Keeps absurd inputs from overflowing the conversion.
    if (std::fabs(tempo) > 9.0e18)
        return tempo > 0 ? INT64_MAX : INT64_MIN;
    return static_cast<int64_t>(tempo);
}

int16_t PitchCents(int32_t newTempo, int32_t tempo)
{
    if (newTempo <= 0 || tempo <= 0)
        return 0;
    return static_cast<int16_t>(std::trunc(100.0 * 12.0 * std::log2(double(newTempo) / double(tempo))));
}

int64_t MicrosecondsPerQuarter(int32_t tempo)
{
    if (tempo <= 0)
        return 0;
    return static_cast<int64_t>(1000000.0 / (double(tempo) * 1.6666666666666667e-5));
}

} // namespace quorvel
