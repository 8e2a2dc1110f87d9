#include <gtest/gtest.h>

#include "analysis/OutputTempoSettings.h"
#include "analysis/Tempo.h"
#include "analysis/TempoText.h"

namespace quorvel {
namespace {

TEST(Tempo, FromLoopLengthAndTicks)
{
    EXPECT_EQ(ComputeTempo(44100, 3840, 0, 88200), 120000) << "one 4/4 bar in two seconds";
    EXPECT_EQ(ComputeTempo(44100, 3840, 1000, 89200), 120000) << "only the loop's length counts";
    EXPECT_EQ(ComputeTempo(48000, 3840, 0, 1), 999999) << "held at the display's ceiling";
    EXPECT_EQ(ComputeTempo(44100, 3840, 500, 500), 0);
    EXPECT_EQ(ComputeTempo(44100, 0, 0, 88200), 0);
    EXPECT_EQ(ComputeTempo(48000, 666 * 7 * 480 + 7 * 480, 0, 13230000), 508190) << "no 32-bit overflow";
    EXPECT_EQ(ComputeTempo(44100, 3840, 0, 88201), 119998) << "truncated, not rounded";

    EXPECT_EQ(TempoFromLength(88200, 44100, 3840, 960), 120000);
    EXPECT_EQ(TempoFromLength(1, 48000, 3840, 960), 11520000000) << "no ceiling here";
    EXPECT_EQ(TempoFromLength(0, 48000, 3840, 960), 0);
}

TEST(Tempo, PitchAndMidiTempo)
{
    EXPECT_EQ(PitchCents(90000, 120000), -498);
    EXPECT_EQ(PitchCents(240000, 120000), 1200);
    EXPECT_EQ(PitchCents(125000, 120000), 70) << "a real ratio, truncated toward zero";
    EXPECT_EQ(PitchCents(999999, 1), 23917);
    EXPECT_EQ(PitchCents(120000, 0), 0);

    EXPECT_EQ(MicrosecondsPerQuarter(120000), 500000);
    EXPECT_EQ(MicrosecondsPerQuarter(0), 0);
    EXPECT_EQ(MicrosecondsPerQuarter(1), 60000000000) << "beyond 32 bits, kept exact";
}

TEST(TempoText, LabelsAndFields)
{
    EXPECT_EQ(FormatTempo(85500), " 85.500");
    EXPECT_EQ(FormatTempo(120000), "120.000");
    EXPECT_EQ(FormatTempo(1), "  0.001");
    EXPECT_EQ(TempoLabel(85500), " 85.500 BPM");
    EXPECT_EQ(NewTempoFieldText(85500), "85.500");
    EXPECT_EQ(NewTempoFieldText(1), "0.001");
}

TEST(TempoText, TypedValuesAreReadAndHeld)
{
    EXPECT_EQ(ParseNewTempo("120.5"), 120500);
    EXPECT_EQ(ParseNewTempo("0"), 1);
    EXPECT_EQ(ParseNewTempo(""), 1);
    EXPECT_EQ(ParseNewTempo(".25"), 250);
    EXPECT_EQ(ParseNewTempo("1.005"), 1005) << "decimal digits, not a binary fraction";
    EXPECT_EQ(ParseNewTempo("85.5009"), 85500) << "truncated";
    EXPECT_EQ(ParseNewTempo("1000"), 999999);
    EXPECT_EQ(ParseNewTempo("99999999999999999999999"), 999999);
    EXPECT_EQ(ParseNewTempo(NewTempoFieldText(85500)), 85500);

    EXPECT_EQ(ParseBars("999"), 666);
    EXPECT_EQ(ParseBars(""), 0);
    EXPECT_EQ(ParseBars("99999999999999999999999"), 666);
}

TEST(TempoText, StretchFaderSnapsToItsFourteenSteps)
{
    EXPECT_EQ(StretchIndexFromFader(76), 0);
    EXPECT_EQ(StretchIndexFromFader(77), 1);
    EXPECT_EQ(StretchIndexFromFader(999), 13);
    EXPECT_EQ(StretchIndexFromFader(5000), 13);
    for (int16_t index = 0; index < 14; ++index)
        EXPECT_EQ(StretchIndexFromFader(StretchFaderPosition(index)), index) << "a snapped fader reads its own step";
}

TEST(OutputTempoSettings, PitchModeRecordsTheNewTempo)
{
    OutputTempoSettings s = MakeOutputTempoSettings(6, 8, 2880, true, 120000, 90000);
    EXPECT_EQ(s.numerator, 6);
    EXPECT_EQ(s.denominator, 8);
    EXPECT_EQ(s.ticks, 2880);
    EXPECT_TRUE(s.pitchMode);
    EXPECT_EQ(s.pitchCents, -498);
    EXPECT_EQ(s.tempo, 90000);

    s = MakeOutputTempoSettings(4, 4, 3840, false, 120000, 90000);
    EXPECT_EQ(s.pitchCents, 0);
    EXPECT_EQ(s.tempo, 120000);

    s = MakeOutputTempoSettings(4, 4, 0, true, 0, 90000);
    EXPECT_EQ(s.pitchCents, 0) << "no calculated tempo, nothing to pitch from";
    EXPECT_EQ(s.tempo, 0);
}

} // namespace
} // namespace quorvel
