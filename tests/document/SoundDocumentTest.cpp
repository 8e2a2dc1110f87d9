#include <gtest/gtest.h>

#include "document/SampleRateText.h"
#include "document/SoundDocument.h"
#include "document/StretchAmount.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel {
namespace {

// One bar of 4/4 at 120 BPM and 44100 Hz: 88200 frames, eight hits.
std::unique_ptr<WAVE_SAMPLE> OneBarLoop()
{
    return loopgen::MakeWaveSample(loopgen::GenerateDrumLoop(loopgen::LoopSpec{}));
}

std::unique_ptr<CSoundDocument> NewDocument(bool barsToOne = true, DefaultDocumentOptions defaults = {})
{
    return std::make_unique<CSoundDocument>(OneBarLoop(), defaults, barsToOne);
}

std::vector<int32_t> ActivePositions(const CSliceList& list)
{
    std::vector<int32_t> positions;
    for (const CSlice* s = list.First(SliceFilter::Active); s; s = list.Next(s, SliceFilter::Active))
        positions.push_back(s->position);
    return positions;
}

struct ScriptedPrompt : CLengthPrompt {
    explicit ScriptedPrompt(std::optional<int> answer) : answer(answer) {}
    std::optional<int> AskBars() override
    {
        ++asked;
        return answer;
    }
    std::optional<int> answer;
    int asked = 0;
};

TEST(SoundDocument, NewSoundIsAnalysedAndTakesThePreferences)
{
    DefaultDocumentOptions defaults{true, false, false, true, 5};
    auto doc = NewDocument(true, defaults);
    EXPECT_EQ(doc->Slices().Count(), 8);
    EXPECT_EQ(doc->Slices().EndPosition(), 88200);
    EXPECT_TRUE(ActivePositions(doc->Slices()).empty()) << "sensitivity 0 lets no analysed slice cut";
    for (int i = 0; i < doc->Slices().Count(); ++i)
        EXPECT_FALSE(doc->Slices().At(i).changed);
    EXPECT_EQ(doc->Bars(), 1);
    EXPECT_EQ(doc->TimeSignatureIndex(), 2);
    EXPECT_EQ(doc->Tempo(), 120000);
    EXPECT_EQ(doc->NewTempo(), 120000);
    EXPECT_FALSE(doc->Modified());
    EXPECT_EQ(doc->WindowTitle(), "Drum loop (44.1kHz) *") << "never saved as a document";

    DefaultDocumentOptions back;
    doc->WriteDefaults(back);
    EXPECT_TRUE(back.transmitNormalized && !back.silenceSelected && !back.separateSamples && back.pitchMode);
    EXPECT_EQ(back.stretchIndex, 5);

    auto plain = NewDocument(false);
    EXPECT_EQ(plain->Bars(), 0);
    EXPECT_EQ(plain->Tempo(), 0);
    EXPECT_TRUE(plain->SeparateSamples()) << "built-in default";
}

TEST(SoundDocument, SettersMarkModifiedOnlyOnARealChange)
{
    auto doc = NewDocument();
    EXPECT_FALSE(doc->SetBars(1));
    EXPECT_FALSE(doc->SetBeats(-3)) << "held at 0, which it already is";
    EXPECT_FALSE(doc->SetNewTempo(120000));
    EXPECT_FALSE(doc->SetSeparateSamples(true));
    EXPECT_FALSE(doc->SetSensitivity(9)) << "slider 9 is sensitivity 0";
    EXPECT_FALSE(doc->SetLocators(0, 88200));
    doc->SetTool(DocumentTool::Pen);
    EXPECT_FALSE(doc->Modified()) << "choosing a tool is not an edit";

    EXPECT_TRUE(doc->SetBars(999));
    EXPECT_EQ(doc->Bars(), 666);
    doc->MarkSaved("/tmp/loop.qvl");
    EXPECT_EQ(doc->WindowTitle(), "Drum loop (44.1kHz)");
    EXPECT_TRUE(doc->SetNewTempo(0));
    EXPECT_EQ(doc->NewTempo(), 1);
    EXPECT_EQ(doc->WindowTitle(), "Drum loop (44.1kHz) *");
    EXPECT_TRUE(doc->SetStretchIndex(40));
    EXPECT_EQ(doc->StretchIndex(), 13);

    // The sensitivity moves in steps of 10 and re-applies the threshold.
    EXPECT_TRUE(doc->SetSensitivity(999));
    EXPECT_EQ(doc->Sensitivity(), 990);
    EXPECT_FALSE(doc->SetSensitivity(995));
    EXPECT_EQ(ActivePositions(doc->Slices()).size(), 8u);
    EXPECT_TRUE(doc->Slices().At(0).changed) << "the views must redraw what flipped";
}

TEST(SoundDocument, TimeSignatureTicksAndTempo)
{
    auto doc = NewDocument();
    doc->SetTimeSignature(6, 8);
    EXPECT_EQ(doc->TimeSignatureIndex(), 4);
    EXPECT_EQ(doc->LoopLengthInTicks(), 2880);
    doc->SetTimeSignature(7, 8);
    EXPECT_EQ(doc->Numerator() * 10 + doc->Denominator(), 78);
    doc->SetTimeSignature(3, 8);
    EXPECT_EQ(doc->TimeSignatureIndex(), 0) << "an unknown pair falls back to 2/4";
    doc->SetTimeSignatureIndex(1);
    doc->SetBars(2);
    doc->SetBeats(1);
    EXPECT_EQ(doc->LoopLengthInTicks(), 6720);

    doc->SetTimeSignatureIndex(2);
    doc->SetBars(1);
    doc->SetBeats(0);
    doc->MarkSaved("/tmp/x.qvl");
    EXPECT_FALSE(doc->RefreshTempo());
    EXPECT_TRUE(doc->SetLocators(0, 44100));
    doc->MarkSaved("/tmp/x.qvl");
    EXPECT_TRUE(doc->RefreshTempo());
    EXPECT_EQ(doc->Tempo(), 240000);
    EXPECT_TRUE(doc->Modified());

    doc->SetPitchMode(true);
    const OutputTempoSettings out = doc->OutputTempo();
    EXPECT_EQ(out.tempo, 120000);
    EXPECT_EQ(out.pitchCents, -1200);
    EXPECT_EQ(out.ticks, 3840);
}

TEST(SoundDocument, EnsureLengthAsksOnlyWithoutBarsOrBeats)
{
    auto doc = NewDocument(false);
    ScriptedPrompt cancel(std::nullopt), zero(0), many(999), unused(3);
    EXPECT_FALSE(doc->EnsureLength(cancel));
    EXPECT_FALSE(doc->EnsureLength(zero));
    EXPECT_FALSE(doc->Modified());
    EXPECT_TRUE(doc->EnsureLength(many));
    EXPECT_EQ(doc->Bars(), 666);
    EXPECT_TRUE(doc->Modified());

    doc->SetBars(0);
    doc->SetBeats(2);
    EXPECT_TRUE(doc->EnsureLength(unused));
    EXPECT_EQ(unused.asked, 0) << "beats alone give the loop a length";
}

TEST(SoundDocument, StoredDocumentRestoresSlicesAndSettings)
{
    StoredDocumentSettings settings{6, 8, 300, 3, 85500, false, false, true, false, 7, 825};
    const std::vector<StoredSlice> slices = {
        {0, false, 1000, 6144}, {1, true, 2000, 30000}, {2, false, 3000, 100}, {0, true, 4000, 5000}};
    CSoundDocument doc(OneBarLoop(), settings, slices);

    EXPECT_EQ(doc.TimeSignatureIndex(), 4);
    EXPECT_EQ(doc.Bars(), 300);
    EXPECT_EQ(doc.NewTempo(), 85500);
    EXPECT_TRUE(doc.SilenceSelected());
    EXPECT_EQ(doc.StretchIndex(), 7);
    EXPECT_EQ(doc.Sensitivity(), 820);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Tempo(), 999999) << "300 bars in two seconds";

    const CSliceList& list = doc.Slices();
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.At(1).state, SliceState::Hidden);
    EXPECT_TRUE(list.At(1).selected);
    EXPECT_FALSE(list.At(0).changed);
    // Threshold at 820 is 5871: 6144 passes, 5000 does not; 3000 is locked.
    EXPECT_EQ(ActivePositions(list), (std::vector<int32_t>{1000, 3000}));
}

TEST(SoundDocument, DamagedStoredValuesAreMadeSafe)
{
    StoredDocumentSettings settings{9, 16, 40000, 200, 0, false, true, false, false, 300, 5000};
    std::vector<StoredSlice> slices = {{0, false, 5000, 9000},  {7, false, 100, 9000}, {2, false, -5, 9000},
                                       {0, false, 88200, 9000}, {0, false, 2000, 9000}};
    for (int i = 0; i < 1100; ++i)
        slices.push_back({0, false, 10000 + i, 9000});
    CSoundDocument doc(OneBarLoop(), settings, slices);

    EXPECT_EQ(doc.TimeSignatureIndex(), 0);
    EXPECT_EQ(doc.Bars(), 666);
    EXPECT_EQ(doc.Beats(), 7);
    EXPECT_EQ(doc.NewTempo(), 1);
    EXPECT_EQ(doc.StretchIndex(), 13);
    EXPECT_EQ(doc.Sensitivity(), 990);

    const CSliceList& list = doc.Slices();
    ASSERT_EQ(list.Count(), CSliceList::kCapacity);
    EXPECT_EQ(list.At(0).position, 100) << "sorted, and the slice before the sound dropped";
    EXPECT_EQ(list.At(0).state, SliceState::Normal) << "an unknown state reads as Normal";
    EXPECT_EQ(list.At(2).position, 5000);
    EXPECT_LT(list.At(999).position, 88200);
}

TEST(SoundDocument, TitlesRatesAndStretchTexts)
{
    EXPECT_EQ(SampleRateText(44100), "44.1kHz");
    EXPECT_EQ(SampleRateText(48000), "48kHz");
    EXPECT_EQ(SampleRateText(22050), "22.05kHz");
    EXPECT_EQ(SampleRateText(100000), "100kHz");
    EXPECT_EQ(SampleRateText(999), "999Hz");
    CSoundDocument empty(nullptr, DefaultDocumentOptions{}, false);
    EXPECT_EQ(empty.WindowTitle(), "Empty Quorvel! Document");

    const int32_t percents[kStretchSteps] = {0, 5, 10, 15, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100};
    for (int i = 0; i < kStretchSteps; ++i)
        EXPECT_EQ(StretchFactor(i), 1000 + 10 * percents[i]);
    EXPECT_EQ(StretchText(0), "Off");
    EXPECT_EQ(StretchText(7), "40%");
}

} // namespace
} // namespace quorvel
