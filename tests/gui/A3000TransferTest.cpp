// The program with an emulated Yamaha A3000 at start-up: the loop goes to it
// from the Sampler menu as a sample bank of one member per slice, and
// Receive brings the first slice back into a new window, sample for sample.
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
#include "samplers/yamaha/A3000Interface.h"
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

TEST(A3000TransferTest, TheMenuLeavesASampleBankOnTheEmulatedA3000AndReceiveBringsASliceBack)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "6000", 1);
    // A wave dump is one long message without handshakes: the cable's pace
    // (here a fast one) is what keeps it within the input's ring.
    ::setenv("QUORVEL_MIDI_BAUD", "10000000", 1);
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
        CPersistentInstalledSampler installed;
        installed.modelTypeId = 6000;
        installed.modelName = "Yamaha A3000 via MIDI";
        installed.midiIn = {"Emulated Yamaha A3000 via MIDI", "Loopback"};
        installed.midiOut = {"Emulated Yamaha A3000 via MIDI", "Loopback"};
        installed.userName = "My A3000";
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
        CModalDialog::SetAutoAnswer(QDialog::Accepted);
        transmit->trigger();
        const CExportJob job = MakeExportJob(window.Document());
        sliceCount = job.OutputCount();
        firstSlice = Values(*job.GetOutput(0));
        {
            // Read back with the program's own interface on the same ports.
            std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(
                installed, SSamplerDevices{application.Services().MidiPorts(), application.Services().ScsiBuses()});
            auto* a3000 = dynamic_cast<CABCA3000Interface*>(device.get());
            ASSERT_NE(a3000, nullptr);
            programs = a3000->ObjectList(true).NamesOf(a3000::kSampleBankObject);
            if (!programs.empty())
                for (const a3000::SBankMember& member : a3000->GetSampleBank(programs.front()).members) {
                    keys.push_back(member.keyLow);
                    zones.push_back(member.name);
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
    ::unsetenv("QUORVEL_MIDI_BAUD");

    EXPECT_TRUE(alerts.empty()) << alerts.front();
    ASSERT_GT(sliceCount, 1);
    EXPECT_EQ(programs, std::vector<std::string>{"Unnamed SmpBank"});
    ASSERT_EQ(static_cast<int>(keys.size()), sliceCount);
    for (int k = 0; k < sliceCount; ++k) {
        EXPECT_EQ(keys[static_cast<size_t>(k)], 36 + k);
        EXPECT_EQ(zones[static_cast<size_t>(k)], (k < 9 ? "Unnamed SmpBa 0" : "Unnamed SmpBa ") + std::to_string(k + 1));
    }
    ASSERT_FALSE(firstSlice.empty());
    EXPECT_EQ(received, firstSlice);
}

} // namespace
} // namespace quorvel::test
