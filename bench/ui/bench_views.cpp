// Drawing figures of the main waveform on a five-minute 44.1 kHz loop, on
// Qt's offscreen platform: the peak summary, the bare column rasteriser, and
// a full redraw of the view's image (waveform, slice lines, locator lines).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>
#include <vector>

#include "loopgen/DrumLoopGenerator.h"
#include "document/SoundDocument.h"
#include "ui/ApplicationPreferences.h"
#include "ui/views/PeakSummary.h"
#include "ui/views/SampleSliceView.h"
#include "ui/views/TimeWindow.h"
#include "ui/views/ViewActions.h"
#include "ui/views/WaveformPane.h"
#include "ui/views/WaveformRaster.h"

namespace {

using namespace quorvel;

constexpr int kWidth = 1280;
constexpr int kHeight = 300;

std::unique_ptr<WAVE_SAMPLE> FiveMinuteLoop()
{
    loopgen::LoopSpec recipe;
    recipe.lengthFrames = loopgen::kMaxSeconds * recipe.sampleRate;
    return loopgen::MakeWaveSample(loopgen::GenerateDrumLoop(recipe));
}

WAVE_SAMPLE& SharedLoop()
{
    static std::unique_ptr<WAVE_SAMPLE> sound = FiveMinuteLoop();
    return *sound;
}

TimeWindow Zoomed(const WAVE_SAMPLE& sound, bool wholeSound)
{
    TimeWindow window;
    window.totalEnd = sound.Length();
    window.rightPixel = kWidth;
    window.visibleStart = wholeSound ? 0 : sound.Length() / 2;
    window.visibleEnd = wholeSound ? sound.Length() : window.visibleStart + kWidth;
    window.SnapToPixels();
    return window;
}

void BM_PeakSummaryBuild(benchmark::State& state)
{
    const WAVE_SAMPLE& sound = SharedLoop();
    for (auto _ : state) {
        CPeakSummary summary(sound);
        benchmark::DoNotOptimize(summary.Count());
    }
}
BENCHMARK(BM_PeakSummaryBuild)->Unit(benchmark::kMillisecond);

void BM_RasterWaveform(benchmark::State& state)
{
    WAVE_SAMPLE& sound = SharedLoop();
    CPeakSummary::Of(sound); // built once per sound, on first need
    const TimeWindow window = Zoomed(sound, state.range(0) != 0);
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight);
    const SRasterTarget target{pixels.data(), kWidth, kWidth, kHeight};
    for (auto _ : state) {
        FillRaster(target, palette_index::kBackground);
        DrawWaveform(target, window, sound, WaveformStyle::Shaded);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetLabel(state.range(0) ? "whole sound" : "one frame per pixel");
}
BENCHMARK(BM_RasterWaveform)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

class CIdleActions : public CViewActions {
public:
    void SliceHandlePressed(CSlice&, bool) override {}
    void SliceStripEmptyPressed(bool) override {}
    void SliceStripDragged(int32_t, int32_t) override {}
    void WaveformClicked(int32_t) override {}
    void PenReleased(int32_t) override {}
    void LocatorsMoved(bool) override {}
    int32_t CursorPosition() override { return 0; }
    bool Playing() override { return false; }
};

// The main waveform view inside a real pane, with the analysed slices.
void BM_WaveformViewRedraw(benchmark::State& state)
{
    static CIdleActions actions;
    static SApplicationPreferences preferences;
    static CSoundDocument document(FiveMinuteLoop(), DefaultDocumentOptions{}, false);
    static CWaveformPane pane(document, actions, preferences);
    pane.resize(kWidth, kHeight + 100);
    pane.show();
    QCoreApplication::processEvents();
    auto* view = pane.findChild<CSampleSliceView*>();
    if (state.range(0))
        pane.ShowAll();
    else
        pane.SetVisible(document.Sound()->Length() / 2, document.Sound()->Length() / 2 + kWidth);
    view->DrawImage(); // the summary is built once per sound
    for (auto _ : state)
        benchmark::DoNotOptimize(view->DrawImage());
    state.SetLabel(std::to_string(view->width()) + "x" + std::to_string(view->height()) + ", " +
                   std::to_string(pane.Visible().FramesPerPixel()) + " frames per pixel, " +
                   std::to_string(document.Slices().Count()) + " slices");
}
BENCHMARK(BM_WaveformViewRedraw)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
