// The program with an emulated K2000 at start-up: the loop goes to it from
// the Sampler menu as sound blocks, a keymap and a program on the defaults,
// and Receive brings the first slice back into a new window, sample for
// sample.
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
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/K2000Keymap.h"
#include "samplers/kurzweil/K2000Program.h"
#include "ui/app/ApplicationServices.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {
namespace {

using gui::CQuorvel;

constexpr uint32_t kCmdTransmit = 1200;
constexpr uint32_t kCmdReceive = 1201;
// The dialog suggests the first free RAM program id.
constexpr uint16_t kSuggestedId = 200;

std::vector<int16_t> Values(const WAVE_SAMPLE& sound)
{
    std::vector<int16_t> values;
    for (int32_t i = 0; i < sound.Length(); ++i)
        values.push_back(sound.Value(i));
    return values;
}

TEST(K2000TransferTest, TheMenuLeavesAPlayableProgramOnTheEmulatedK2000AndReceiveBringsASliceBack)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "1000", 1);
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
    std::string programName;
    std::vector<uint16_t> placed; // the block each key from 36 plays
    RunWith(application, [&] {
        CPersistentInstalledSampler k2000;
        k2000.modelTypeId = 1000;
        k2000.modelName = "Kurzweil K2000 via MIDI";
        k2000.midiIn = {"Emulated Kurzweil K2000 via MIDI", "Loopback"};
        k2000.midiOut = {"Emulated Kurzweil K2000 via MIDI", "Loopback"};
        k2000.userName = "My K2000";
        application.Services().Samplers().Assign({k2000});
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
                k2000, SSamplerDevices{application.Services().MidiPorts(), application.Services().ScsiBuses()});
            auto* kurzweil = dynamic_cast<CABCK2000Interface*>(device.get());
            ASSERT_NE(kurzweil, nullptr);
            CK2000Program program(kSuggestedId);
            kurzweil->Objects().Read(program, 4000);
            programName = program.Name();
            CK2000Keymap keymap(CK2000Program::KeymapOf(program.Layers().front()));
            kurzweil->Objects().Read(keymap, 4000);
            for (int k = 0; k < sliceCount; ++k)
                placed.push_back(keymap.LevelTable(CK2000Keymap::kSliceLevel)
                                     .at(static_cast<size_t>(keymap.EntryIndexOfKey(36 + k)))
                                     .soundBlock);
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

    ASSERT_EQ(alerts.size(), 1u) << (alerts.empty() ? "" : alerts.back());
    EXPECT_NE(alerts.front().find("No template program specified"), std::string::npos) << "answered Yes: defaults";
    ASSERT_GT(sliceCount, 1);
    EXPECT_EQ(programName, "Demo");
    ASSERT_EQ(static_cast<int>(placed.size()), sliceCount);
    for (int k = 0; k < sliceCount; ++k)
        EXPECT_EQ(placed[static_cast<size_t>(k)], kSuggestedId + k) << "the blocks reserved from the program's bank";
    ASSERT_FALSE(firstSlice.empty());
    EXPECT_EQ(received, firstSlice);
}

} // namespace
} // namespace quorvel::test
