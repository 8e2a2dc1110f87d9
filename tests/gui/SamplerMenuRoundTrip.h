#pragma once
// A loop's round trip through the Sampler menu of a running program: the
// sampler is installed, a one-bar loop opened, Transmit chosen (every dialog
// accepted, every alert answered with its last button), the sampler read
// back through its own interface, then Receive chosen. The emulated sampler
// to answer is the caller's to set up (QUORVEL_EMULATED_SAMPLERS).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "QtTestApplication.h"
#include "RunApplication.h"
#include "TestSounds.h"
#include "analysis/SliceSet.h"
#include "document/SoundDocument.h"
#include "framework/CommandLine.h"
#include "framework/window/AlertBox.h"
#include "framework/window/Menu.h"
#include "samplers/SamplerBrands.h"
#include "ui/app/ApplicationServices.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {

struct SMenuRoundTrip {
    std::vector<std::string> alerts; // title and message of each alert but the start-up offer to search
    bool transmitEnabled = false;
    bool receiveEnabled = false;
    std::string transmitText;
    int sliceCount = 0;
    std::vector<int16_t> firstSlice;
    size_t windowsBefore = 0; // before Receive
    size_t windowsAfter = 0;
    std::vector<int16_t> received; // the sound of the window Receive opened
};

inline std::vector<int16_t> SoundValues(const WAVE_SAMPLE& sound)
{
    std::vector<int16_t> values;
    for (int32_t i = 0; i < sound.Length(); ++i)
        values.push_back(sound.Value(i));
    return values;
}

// `readBack` (optional) sees the sampler between Transmit and Receive, with
// the number of slices sent.
inline void RunSamplerMenuRoundTrip(const CPersistentInstalledSampler& installed,
                                    const std::function<void(CABCSamplerInterface&, int)>& readBack,
                                    SMenuRoundTrip& trip)
{
    constexpr uint32_t kCmdTransmit = 1200;
    constexpr uint32_t kCmdReceive = 1201;
    TestApplication();
    CAlertBox::SetResponder([&](const AlertRecord& record) {
        if (record.title == "No samplers installed!")
            return AlertResultForSlot(1); // No: the test installs its sampler itself
        trip.alerts.push_back(record.title + record.message);
        return AlertResultForSlot(0);
    });
    const TempFolder folder;
    const std::string loop = folder / "Demo.wav";
    WriteLoopWav(loop, 1, 1);

    gui::CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    RunWith(application, [&] {
        application.Services().Samplers().Assign({installed});
        application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{loop}));
        ASSERT_EQ(application.DocumentWindows().size(), 1u);
        CQuorvelWindow& window = *application.DocumentWindows().front();
        window.Document().SetBars(1);
        window.Document().SetSensitivity(500);
        CMenu* sampler = application.MenuBar()->MenuWithCommand(kCmdReceive);
        ASSERT_NE(sampler, nullptr);
        sampler->Update();
        QAction* transmit = sampler->FindCommand(kCmdTransmit);
        QAction* receive = sampler->FindCommand(kCmdReceive);
        ASSERT_NE(transmit, nullptr);
        ASSERT_NE(receive, nullptr);
        trip.transmitEnabled = transmit->isEnabled();
        trip.receiveEnabled = receive->isEnabled();
        trip.transmitText = transmit->text().toStdString();
        CModalDialog::SetAutoAnswer(QDialog::Accepted);
        transmit->trigger();
        const CExportJob job = MakeExportJob(window.Document());
        trip.sliceCount = job.OutputCount();
        trip.firstSlice = SoundValues(*job.GetOutput(0));
        if (readBack) {
            // Read back with the program's own interface on the same ports.
            std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(
                installed, SSamplerDevices{application.Services().MidiPorts(), application.Services().ScsiBuses()});
            readBack(*device, trip.sliceCount);
        }
        trip.windowsBefore = application.DocumentWindows().size();
        receive->trigger();
        trip.windowsAfter = application.DocumentWindows().size();
        for (CQuorvelWindow* opened : application.DocumentWindows())
            if (&opened->Document() != &window.Document())
                trip.received = SoundValues(*opened->Document().Sound());
        CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
        application.Quit();
    }, 20000);
    CAlertBox::SetResponder({});
    CModalDialog::SetAutoAnswer(std::nullopt);
}

} // namespace quorvel::test
