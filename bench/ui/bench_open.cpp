// Opening a five-minute stereo 44.1 kHz loop to a drawn document window
// (import, analysis, window built, shown and painted once) against the
// import alone (the same file through OpenSoundOrDocument). Goal: the window
// costs at most half as much again as the import, i.e. within 1.5x.
#include <QApplication>
#include <QMdiArea>

#include <benchmark/benchmark.h>

#include "fileformats/DocumentFile.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/Clock.h"
#include "framework/MainLoop.h"
#include "framework/SafeFileWriter.h"
#include "framework/window/AlertBox.h"
#include "framework/window/FrameWindow.h"
#include "framework/window/LengthyOperationPresenter.h"
#include "framework/window/MessageSource.h"
#include "loopgen/DrumLoopGenerator.h"
#include "ui/app/ApplicationServices.h"
#include "ui/app/DocumentOpener.h"
#include "ui/window/QuorvelWindow.h"

namespace quorvel {
namespace {

const std::string& FiveMinuteStereoLoop()
{
    static const std::string path = [] {
        loopgen::LoopSpec recipe;
        recipe.channels = 2;
        recipe.lengthFrames = 300 * 44100;
        const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(recipe);
        const std::string file = "/tmp/quorvel-bench-open-five-minutes.wav";
        SafeWrite(CFileSpec(file), [&](CMedia& media) {
            WriteWaveFile(media, loop.samples.data(), loop.frames, loop.channels, loop.sampleRate);
        });
        return file;
    }();
    return path;
}

void BM_ImportAlone(benchmark::State& state)
{
    const CFileSpec file(FiveMinuteStereoLoop());
    for (auto _ : state) {
        OpenedDocument opened = OpenSoundOrDocument(file, ChannelMode::Mix, DefaultDocumentOptions{}, false);
        benchmark::DoNotOptimize(opened.document.get());
    }
}
BENCHMARK(BM_ImportAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenToDrawnWindow(benchmark::State& state)
{
    CSteadyClock clock;
    CQtMessageSource source;
    CMainLoop loop(source, clock, {});
    CQtLengthyOperationPresenter presenter;
    CFrameWindow frame;
    frame.resize(1000, 700);
    frame.show();
    CApplicationServices services({clock, presenter, loop}, &frame);
    CDocumentOpener opener(frame, services);
    // "Move the left locator to the first slice?": no.
    CAlertBox::SetResponder([](const AlertRecord&) { return AlertResultForSlot(1); });
    const std::string path = FiveMinuteStereoLoop();
    QApplication::processEvents();

    for (auto _ : state) {
        CQuorvelWindow* window = opener.Open(path, OpenOrigin::CommandLine, ChannelMode::Mix);
        if (!window) {
            state.SkipWithError("the loop did not open");
            break;
        }
        frame.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
    CAlertBox::SetResponder({});
}
BENCHMARK(BM_OpenToDrawnWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace quorvel

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
