// A sensitivity key press on a loop with 997 slices, from the key press to
// repainted views: the threshold moves over every slice and the views draw
// the new cut. Goal: under 16 ms, so the slicing follows the key at once.
#include <QApplication>
#include <QKeyEvent>
#include <QSlider>

#include <benchmark/benchmark.h>

#include "document/SoundDocument.h"
#include "framework/Clock.h"
#include "framework/MainLoop.h"
#include "framework/window/LengthyOperationPresenter.h"
#include "framework/window/MessageSource.h"
#include "playback/WavePlayer.h"
#include "ui/ApplicationPreferences.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/WindowControls.h"
#include "ui/window/WindowServices.h"

namespace quorvel {
namespace {

constexpr int kSlices = 997;
constexpr int32_t kFrames = 441000; // ten seconds at 44.1 kHz

class CNoFileDialogs final : public CFileDialogs {
public:
    std::optional<std::string> AskSaveFile(const SSaveFileRequest&) override { return std::nullopt; }
    std::optional<SSoundExportChoice> AskExportSound(const std::string&, int32_t, const std::string&) override
    {
        return std::nullopt;
    }
};

class CBenchServices final : public CWindowServices {
public:
    CWavePlayer& Player() override { return player; }
    bool SoundAvailable() override { return false; }
    SSettings& Settings() override { return settings; }
    CFileDialogs& FileDialogs() override { return dialogs; }
    SLengthyOperationServices LengthyOperations() override { return {clock, presenter, loop}; }

    CWavePlayer player;
    SSettings settings;
    CNoFileDialogs dialogs;
    CSteadyClock clock;
    CQtMessageSource source;
    CMainLoop loop{source, clock, {}};
    CQtLengthyOperationPresenter presenter;
};

std::unique_ptr<CSoundDocument> SlicedLoop()
{
    auto sound = std::make_unique<WAVE_SAMPLE>("Bench.aif", 44100, kFrames);
    for (int32_t i = 0; i < kFrames; ++i)
        sound->Store().WriteSample(uint32_t(i), int16_t((int64_t(i) * 7919 + 13) % 20011 - 10005));
    // Strengths spread over the whole range, so every sensitivity step
    // flips hundreds of slices.
    std::vector<StoredSlice> slices;
    for (int i = 0; i < kSlices; ++i)
        slices.push_back({0, false, i * (kFrames / kSlices), int16_t(1 + (int64_t(i) * 7561) % 32766)});
    StoredDocumentSettings settings;
    settings.sensitivity = 440;
    return std::make_unique<CSoundDocument>(std::move(sound), settings, slices);
}

void SendKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar('0' + key - Qt::Key_0)));
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(QChar('0' + key - Qt::Key_0)));
    QApplication::sendEvent(target, &release);
}

void BM_SensitivityKeyTo997SlicesRepainted(benchmark::State& state)
{
    CBenchServices services;
    CQuorvelWindow window(SlicedLoop(), services);
    window.show();
    QApplication::processEvents();
    QWidget* focus = window.Controls().SensitivityFader();
    bool high = false;
    for (auto _ : state) {
        high = !high;
        SendKey(focus, high ? Qt::Key_6 : Qt::Key_4);
        window.repaint();
        QApplication::processEvents();
    }
    if (window.Document().Sensitivity() != (high ? 660 : 440))
        state.SkipWithError("the key did not reach the sensitivity");
}
BENCHMARK(BM_SensitivityKeyTo997SlicesRepainted)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace quorvel

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
