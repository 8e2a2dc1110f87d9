// The new instrument destinations in the running program: the SFZ
// destination from the Sampler menu, the drum kit from the File menu, each
// writing its files where the save dialog said.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>

#include "../common/TempFolder.h"
#include "QtTestApplication.h"
#include "RunApplication.h"
#include "TestSounds.h"
#include "analysis/SliceSet.h"
#include "document/SoundDocument.h"
#include "framework/CommandLine.h"
#include "framework/window/AlertBox.h"
#include "framework/window/Menu.h"
#include "samplers/SamplerModels.h"
#include "ui/app/ApplicationServices.h"
#include "ui/samplers/InstrumentExportDialog.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {
namespace {

constexpr uint32_t kCmdTransmit = 1200;
constexpr uint32_t kCmdReceive = 1201;
constexpr uint32_t kCmdExportHydrogenKit = 1601;

class CAnsweringDialogs final : public CFileDialogs {
public:
    std::optional<std::string> AskSaveFile(const SSaveFileRequest&) override
    {
        if (answers.empty())
            return std::nullopt;
        const std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<SSoundExportChoice> AskExportSound(const std::string&, int32_t, const std::string&) override
    {
        return std::nullopt;
    }
    std::deque<std::string> answers;
};

TEST(InstrumentExportMenus, TheSamplerMenuWritesTheSfzAndTheFileMenuTheDrumKit)
{
    TestApplication();
    std::vector<std::string> alerts;
    CAlertBox::SetResponder([&](const AlertRecord& record) {
        if (record.title == "No samplers installed!")
            return AlertResultForSlot(1);
        alerts.push_back(record.title + record.message);
        return AlertResultForSlot(0);
    });
    const TempFolder folder;
    const std::string loop = folder / "Demo.wav";
    WriteLoopWav(loop, 1, 1);
    CPersistentInstalledSampler sfz;
    sfz.modelTypeId = kSfzModel;
    sfz.modelName = "SFZ Instrument";
    sfz.userName = "Instruments";
    CAnsweringDialogs dialogs;
    dialogs.answers = {folder / "Demo.sfz", folder / "Demo.h2drumkit"};

    std::string transmitText;
    bool kitEnabled = false;
    int slices = 0;
    gui::CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    RunWith(application, [&] {
        application.Services().SetFileDialogs(&dialogs);
        application.Services().Samplers().Assign({sfz});
        application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{loop}));
        ASSERT_EQ(application.DocumentWindows().size(), 1u);
        CQuorvelWindow& window = *application.DocumentWindows().front();
        window.Document().SetBars(1);
        window.Document().SetSensitivity(500);
        slices = MakeExportJob(window.Document()).OutputCount();
        CModalDialog::SetAutoAnswer(CInstrumentExportDialog::kExport);

        CMenu* sampler = application.MenuBar()->MenuWithCommand(kCmdReceive);
        ASSERT_NE(sampler, nullptr);
        sampler->Update();
        transmitText = sampler->FindCommand(kCmdTransmit)->text().toStdString();
        sampler->FindCommand(kCmdTransmit)->trigger();

        CMenu* file = application.MenuBar()->MenuWithCommand(kCmdExportHydrogenKit);
        ASSERT_NE(file, nullptr);
        file->Update();
        kitEnabled = file->FindCommand(kCmdExportHydrogenKit)->isEnabled();
        file->FindCommand(kCmdExportHydrogenKit)->trigger();
        CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
        application.Quit();
    }, 20000);
    application.Services().SetFileDialogs(nullptr);
    CAlertBox::SetResponder({});
    CModalDialog::SetAutoAnswer(std::nullopt);

    EXPECT_TRUE(alerts.empty()) << alerts.front();
    EXPECT_EQ(transmitText, "Export as SFZ Instrument...");
    ASSERT_GT(slices, 1);
    EXPECT_TRUE(std::filesystem::exists(folder / "Demo.sfz"));
    for (int k = 1; k <= slices; ++k) {
        char name[48];
        std::snprintf(name, sizeof name, "Demo_Samples/Demo_%03d.wav", k);
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    }
    EXPECT_TRUE(kitEnabled);
    ASSERT_EQ(std::system(("tar tzf '" + (folder / "Demo.h2drumkit") + "' > '" + (folder / "list") + "'").c_str()), 0);
    std::ifstream list(folder / "list");
    int entries = 0;
    for (std::string line; std::getline(list, line);)
        ++entries;
    EXPECT_EQ(entries, 2 + std::min(slices, 32)) << "the folder, drumkit.xml and the slices";
}

} // namespace
} // namespace quorvel::test
