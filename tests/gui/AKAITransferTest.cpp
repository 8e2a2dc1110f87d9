// The program with an emulated AKAI S3000 at start-up: the loop goes to it
// from the Sampler menu as a program of one keygroup per slice, and Receive
// brings the first slice back into a new window, sample for sample.
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
#include "samplers/SamplerBrands.h"
#include "samplers/akai/AKAIInterface.h"
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

TEST(AKAITransferTest, TheMenuLeavesAProgramOnTheEmulatedS3000AndReceiveBringsASliceBack)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "4100", 1);
    ::unsetenv("QUORVEL_EMULATOR_DIR");
    TestApplication();
    std::vector<std::string> alerts;
    CAlertBox::SetResponder([&](const AlertRecord& record) {
        if (record.title == "No samplers installed!")
            return AlertResultForSlot(1); // No: this test installs its sampler itself
        alerts.push_back(record.title + record.message);
        return AlertResultForSlot(0);
    });
    const TempFolder folder;
    const std::string loop = folder / "Demo.wav";
    WriteLoopWav(loop, 1, 1);

    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    int sliceCount = 0;
    std::vector<int16_t> firstSlice;
    std::vector<int16_t> received;
    std::vector<std::string> programs;
    std::vector<std::string> zones;
    std::vector<int> keys;
    RunWith(application, [&] {
        CPersistentInstalledSampler s3000;
        s3000.modelTypeId = 4100;
        s3000.modelName = "AKAI S3000 via MIDI";
        s3000.midiIn = {"Emulated AKAI S3000 via MIDI", "Loopback"};
        s3000.midiOut = {"Emulated AKAI S3000 via MIDI", "Loopback"};
        s3000.userName = "My S3000";
        application.Services().Samplers().Assign({s3000});
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
        CModalDialog::SetAutoAnswer(QDialog::Accepted);
        transmit->trigger();
        const CExportJob job = MakeExportJob(window.Document());
        sliceCount = job.OutputCount();
        firstSlice = Values(*job.GetOutput(0));
        {
            // Read back with the program's own interface on the same ports.
            std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(
                s3000, SSamplerDevices{application.Services().MidiPorts(), application.Services().ScsiBuses()});
            auto* akai = dynamic_cast<CABCAKAIInterface*>(device.get());
            ASSERT_NE(akai, nullptr);
            programs = akai->ProgramNames();
            if (!programs.empty()) {
                const std::unique_ptr<akai::CAKAIProgram> program = akai->GetProgram(0);
                for (const auto& group : program->KeyGroups()) {
                    keys.push_back(group->LowNote());
                    zones.push_back(group->ZoneSample(0));
                }
            }
        }
        receive->trigger();
        for (CQuorvelWindow* opened : application.DocumentWindows())
            if (&opened->Document() != &window.Document())
                received = Values(*opened->Document().Sound());
        CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
        application.Quit();
    }, 20000);
    CAlertBox::SetResponder({});
    CModalDialog::SetAutoAnswer(std::nullopt);
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");

    EXPECT_TRUE(alerts.empty()) << alerts.front();
    ASSERT_GT(sliceCount, 1);
    EXPECT_EQ(programs, std::vector<std::string>{"NEW PROGRAM"});
    ASSERT_EQ(static_cast<int>(keys.size()), sliceCount);
    for (int k = 0; k < sliceCount; ++k) {
        EXPECT_EQ(keys[static_cast<size_t>(k)], 36 + k);
        EXPECT_EQ(zones[static_cast<size_t>(k)], (k < 9 ? "NEW PROGR 0" : "NEW PROGR ") + std::to_string(k + 1));
    }
    ASSERT_FALSE(firstSlice.empty());
    EXPECT_EQ(received, firstSlice);
}

} // namespace
} // namespace quorvel::test
