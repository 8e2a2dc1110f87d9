// The program with an emulated E-mu at start-up: the demo-like loop goes to
// the installed sampler from the Sampler menu, and Receive brings its first
// slice back into a new window, sample for sample.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../common/TempFolder.h"
#include "QtTestApplication.h"
#include "RunApplication.h"
#include "TestSounds.h"
#include "analysis/SliceSet.h"
#include "document/SoundDocument.h"
#include "framework/CommandLine.h"
#include "framework/window/AlertBox.h"
#include "framework/window/Menu.h"
#include "ui/app/ApplicationServices.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {
namespace {

using gui::CQuorvel;

constexpr uint32_t kCmdTransmit = 1200;
constexpr uint32_t kCmdReceive = 1201;

std::vector<int16_t> Values(const WAVE_SAMPLE& sound)
{
    std::vector<int16_t> values;
    for (int32_t i = 0; i < sound.Length(); ++i)
        values.push_back(sound.Value(i));
    return values;
}

TEST(SamplerTransferTest, TheLoopGoesToTheEmulatedEmuAndASliceComesBackIntoANewWindow)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "5121", 1);
    TestApplication();
    std::vector<std::string> alerts;
    CAlertBox::SetResponder([&](const AlertRecord& record) {
        // The start-up offer to search: this test installs its sampler itself.
        if (record.title == "No samplers installed!")
            return AlertResultForSlot(1); // No
        alerts.push_back(record.title + record.message);
        return AlertResultForSlot(0);
    });
    const TempFolder folder;
    const std::string loop = folder / "Demo.wav";
    WriteLoopWav(loop, 1, 1);

    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    size_t windowsBefore = 0;
    size_t windowsAfter = 0;
    bool transmitEnabled = false;
    bool receiveEnabled = false;
    std::vector<int16_t> firstSlice;
    std::vector<int16_t> received;
    int sliceCount = 0;
    std::string transmitText;
    RunWith(application, [&] {
        CPersistentInstalledSampler e4k;
        e4k.modelTypeId = 5121;
        e4k.modelName = "E-mu E4K via SCSI";
        e4k.scsiBus = {"Loopback", "Loopback"};
        e4k.scsiId = 0;
        e4k.userName = "My E4K";
        application.Services().Samplers().Assign({e4k});
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
        transmitEnabled = transmit->isEnabled();
        receiveEnabled = receive->isEnabled();
        transmitText = transmit->text().toStdString();
        CModalDialog::SetAutoAnswer(QDialog::Accepted);
        transmit->trigger();
        const CExportJob job = MakeExportJob(window.Document());
        sliceCount = job.OutputCount();
        firstSlice = Values(*job.GetOutput(0));
        windowsBefore = application.DocumentWindows().size();
        receive->trigger();
        windowsAfter = application.DocumentWindows().size();
        for (CQuorvelWindow* opened : application.DocumentWindows())
            if (&opened->Document() != &window.Document())
                received = Values(*opened->Document().Sound());
        CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
        application.Quit();
    }, 20000);
    CAlertBox::SetResponder({});
    CModalDialog::SetAutoAnswer(std::nullopt);
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");

    EXPECT_TRUE(transmitEnabled);
    EXPECT_TRUE(receiveEnabled);
    EXPECT_EQ(transmitText, "Transmit to My E4K...");
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    EXPECT_GT(sliceCount, 1);
    EXPECT_EQ(windowsAfter, windowsBefore + 1);
    ASSERT_FALSE(firstSlice.empty());
    EXPECT_EQ(received, firstSlice);
}

} // namespace
} // namespace quorvel::test
