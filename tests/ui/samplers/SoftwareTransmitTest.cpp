// The software destinations end to end: new windows hold exactly the slices,
// and the instrument files equal what the command-line tool writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <QComboBox>
#include <QLabel>

#include "document/SoundDocument.h"
#include "fileformats/DocumentFile.h"
#include "framework/window/AlertBox.h"
#include "samplers/SamplerModels.h"
#include "ui/samplers/InstrumentExportDialog.h"
#include "ui/samplers/SamplerSettingsDialog.h"
#include "ui/samplers/SoftwareTransmit.h"

#include "../../app/RunTool.h"
#include "../../common/SlicedSound.h"
#include "../../common/TempFolder.h"

namespace quorvel {
namespace {

// Answers the export's questions as a user who names `path` and accepts
// the slice limit.
class CScriptedQuestions : public CInstrumentExportQuestions {
public:
    explicit CScriptedQuestions(std::string path) : path_(std::move(path)) {}
    ReplaceAnswer AskReplace(const std::string&) override { return ReplaceAnswer::ReplaceAll; }
    bool AcceptSliceLimit(const SliceLimitQuestion&) override { return true; }
    std::optional<CFileSpec> AskSaveFile(const SaveFileQuestion&) override { return CFileSpec(path_); }

private:
    std::string path_;
};

struct AlertLog {
    std::vector<AlertRecord> shown;
    int answer = AlertResultForSlot(0);
    AlertLog()
    {
        CAlertBox::SetResponder([this](const AlertRecord& record) {
            shown.push_back(record);
            return answer;
        });
    }
    ~AlertLog() { CAlertBox::SetResponder({}); }
};

struct DialogAnswer {
    explicit DialogAnswer(int answer) { CModalDialog::SetAutoAnswer(answer); }
    ~DialogAnswer() { CModalDialog::SetAutoAnswer(std::nullopt); }
};

std::unique_ptr<CSoundDocument> FourSliceLoop()
{
    auto made = test::MakeSlicedSound(40000, {0, 9000, 21000, 30000});
    StoredDocumentSettings settings;
    settings.bars = 1;
    std::vector<StoredSlice> slices;
    for (int i = 0; i < made->slices.Count(); ++i)
        slices.push_back({static_cast<int32_t>(SliceState::Locked), false, made->slices.At(i).position, 1});
    return std::make_unique<CSoundDocument>(std::move(made->sound), settings, slices);
}

TEST(SoftwareTransmit, NewWindowOpensOneDocumentPerSlice)
{
    std::unique_ptr<CSoundDocument> loop = FourSliceLoop();
    CScriptedQuestions questions("");
    CExportProgress progress;
    SSettings settings;
    std::vector<std::unique_ptr<CSoundDocument>> windows;
    STransmitServices services{questions, progress,
                               [&](std::unique_ptr<CSoundDocument> d) { windows.push_back(std::move(d)); }, settings};
    AlertLog alerts;
    alerts.answer = AlertResultForSlot(1); // "No"
    EXPECT_EQ(OpenSlicesInNewWindows(*loop, services), 0);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_NE(alerts.shown[0].message.find("open 4 windows"), std::string::npos) << alerts.shown[0].message;

    alerts.answer = AlertResultForSlot(0); // "Yes"
    EXPECT_EQ(OpenSlicesInNewWindows(*loop, services), 4);
    ASSERT_EQ(windows.size(), 4u);
    const int32_t cuts[] = {0, 9000, 21000, 30000, 40000};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(test::ValuesOf(*windows[k]->Sound()), test::ValuesOf(*loop->Sound(), cuts[k], cuts[k + 1]))
            << "window " << k;
        EXPECT_EQ(std::string(windows[k]->Sound()->Name()), "Loop " + std::to_string(k + 1));
    }
}

TEST(SoftwareTransmit, OneSliceOpensWithoutAsking)
{
    auto made = test::MakeSlicedSound(5000, {0});
    StoredDocumentSettings settings;
    settings.bars = 1;
    CSoundDocument loop(std::move(made->sound), settings, {{static_cast<int32_t>(SliceState::Locked), false, 0, 1}});
    CScriptedQuestions questions("");
    CExportProgress progress;
    SSettings app;
    int opened = 0;
    STransmitServices services{questions, progress, [&](std::unique_ptr<CSoundDocument>) { ++opened; }, app};
    AlertLog alerts;
    EXPECT_EQ(OpenSlicesInNewWindows(loop, services), 1);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(alerts.shown.empty());
}

// The demo loop with the settings the command-line options below give.
std::unique_ptr<CSoundDocument> DemoLoop()
{
    OpenedDocument opened = OpenSoundOrDocument(CFileSpec(std::string(QUORVEL_SOURCE_DIR) + "/examples/demo-loop.wav"),
                                                ChannelMode::Mix, DefaultDocumentOptions{}, false);
    opened.document->SetSensitivity(500);
    opened.document->SetBars(2);
    opened.document->RefreshTempo(); // as the window shows it
    return std::move(opened.document);
}

TEST(SoftwareTransmit, InstrumentFilesEqualTheCommandLineExports)
{
    // The bank takes its name from the file: both sides write "loop.*", the
    // tool into its own folder.
    test::TempFolder folder;
    test::TempFolder tool;
    const auto cli = test::RunTool("quorvel-cli", "export " + std::string(QUORVEL_SOURCE_DIR) +
                                                      "/examples/demo-loop.wav --sensitivity 50 --bars 2 --soundfont " +
                                                      (tool / "loop.sf2") + " --mixman " + (tool / "loop.trk") + " --samplecell " + (tool / "loop.ins"));
    ASSERT_EQ(cli.status, 0) << cli.err;

    struct Case {
        uint32_t model;
        std::string file;
    };
    for (const Case& c : {Case{kSoundFontModel, "loop.sf2"}, Case{kMixmanModel, "loop.trk"},
                          Case{kSampleCellModel, "loop.ins"}}) {
        std::unique_ptr<CSoundDocument> loop = DemoLoop();
        CScriptedQuestions questions(folder / c.file);
        CExportProgress progress;
        SSettings settings;
        STransmitServices services{questions, progress, nullptr, settings};
        SSoftwareDestinationMemory memory;
        DialogAnswer exportOnly(CInstrumentExportDialog::kExport);
        AlertLog alerts;
        EXPECT_TRUE(TransmitToSoftwareDestination(*FindSamplerModel(c.model), *loop, services, memory));
        EXPECT_TRUE(alerts.shown.empty());
        const std::vector<uint8_t> ours = test::ReadBytes(folder / c.file);
        const std::vector<uint8_t> theirs = test::ReadBytes(tool / c.file);
        const auto differ = std::mismatch(ours.begin(), ours.end(), theirs.begin(), theirs.end());
        EXPECT_TRUE(ours == theirs) << c.file << " differs from byte " << (differ.first - ours.begin()) << " of "
                                    << ours.size() << " (" << theirs.size() << " written by the tool)";
    }
    // The instrument's slice files too.
    std::vector<std::string> ours = folder.Names();
    std::vector<std::string> theirs = tool.Names();
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    ASSERT_EQ(ours, theirs);
    for (const std::string& name : ours)
        EXPECT_TRUE(test::ReadBytes(folder / name) == test::ReadBytes(tool / name)) << name;
}

TEST(SoftwareTransmit, SfzAndDrumKitEqualTheCommandLineExports)
{
    // The archive dates its entries; both sides take the same date.
    ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    test::TempFolder folder;
    test::TempFolder tool;
    const auto cli = test::RunTool("quorvel-cli", "export " + std::string(QUORVEL_SOURCE_DIR) +
                                                      "/examples/demo-loop.wav --sensitivity 50 --bars 2 --name loop"
                                                      " --groove --sfz " + (tool / "loop.sfz") +
                                                      " --hydrogen " + (tool / "loop.h2drumkit"));
    ASSERT_EQ(cli.status, 0) << cli.err;

    for (const uint32_t model : {kSfzModel, kHydrogenKitModel}) {
        std::unique_ptr<CSoundDocument> loop = DemoLoop();
        loop->Sound()->SetName("loop.wav");
        CScriptedQuestions questions(folder / (model == kSfzModel ? "loop.sfz" : "loop.h2drumkit"));
        CExportProgress progress;
        SSettings settings;
        STransmitServices services{questions, progress, nullptr, settings};
        SSoftwareDestinationMemory memory;
        DialogAnswer withGroove(CInstrumentExportDialog::kMidiFileAndExport);
        AlertLog alerts;
        EXPECT_TRUE(TransmitToSoftwareDestination(*FindSamplerModel(model), *loop, services, memory));
        EXPECT_TRUE(alerts.shown.empty());
    }
    ::unsetenv("SOURCE_DATE_EPOCH");
    auto filesIn = [](const std::string& root) {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                files.push_back(std::filesystem::relative(entry.path(), root).string());
        std::sort(files.begin(), files.end());
        return files;
    };
    const std::vector<std::string> files = filesIn(tool.Path());
    ASSERT_EQ(filesIn(folder.Path()), files);
    EXPECT_EQ(files.size(), 3u + 10u) << "instrument, groove, archive and the ten slices";
    for (const std::string& name : files)
        EXPECT_TRUE(test::ReadBytes(folder / name) == test::ReadBytes(tool / name)) << name;
}

TEST(SoftwareTransmit, FailuresBecomeTheirAlerts)
{
    std::unique_ptr<CSoundDocument> loop = DemoLoop();
    CScriptedQuestions questions("/nonexistent-folder/x.sf2");
    CExportProgress progress;
    SSettings settings;
    STransmitServices services{questions, progress, nullptr, settings};
    SSoftwareDestinationMemory memory;
    DialogAnswer exportOnly(CInstrumentExportDialog::kExport);
    AlertLog alerts;
    EXPECT_FALSE(TransmitToSoftwareDestination(*FindSamplerModel(kSoundFontModel), *loop, services, memory));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].title, "Couldn't export SoundFont file!");

    // A track file needs 4/4: alert 18, and no dialog.
    alerts.shown.clear();
    loop->SetTimeSignatureIndex(4);
    EXPECT_FALSE(TransmitToSoftwareDestination(*FindSamplerModel(kMixmanModel), *loop, services, memory));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].title, "Time signature is not 4/4!");
}

TEST(SamplerSettingsDialog, PopupsFollowTheModel)
{
    const QStringList akai = CSamplerSettingsDialog::SysexIdLabels(*FindSamplerModel(4000));
    ASSERT_EQ(akai.size(), 16);
    EXPECT_EQ(akai.front(), "1");
    EXPECT_EQ(akai.back(), "16");
    const QStringList kurzweil = CSamplerSettingsDialog::SysexIdLabels(*FindSamplerModel(1000));
    EXPECT_EQ(kurzweil.front(), "0");
    EXPECT_EQ(kurzweil.back(), "15");

    CInstalledSamplers samplers;
    CSamplerSettingsDialog dialog(samplers);
    AlertLog alerts;
    EXPECT_FALSE(dialog.AddSampler(*FindSamplerModel(4000), "")) << "a sampler needs a name";
    ASSERT_EQ(alerts.shown.size(), 1u);
    ASSERT_TRUE(dialog.AddSampler(*FindSamplerModel(4000), "Studio"));
    EXPECT_EQ(dialog.MidiIn()->currentText(), "No MIDI available");
    EXPECT_FALSE(dialog.MidiIn()->isEnabled());
    EXPECT_EQ(dialog.VersionText()->text(), "Unknown");
    ASSERT_TRUE(dialog.AddSampler(*FindSamplerModel(kNewWindowModel), "Windows"));
    EXPECT_EQ(dialog.MidiIn()->count(), 0) << "software destinations have no ports";

    alerts.answer = AlertResultForSlot(1); // "No"
    dialog.RemoveSelected();
    EXPECT_EQ(samplers.Count(), 2u);
    alerts.answer = AlertResultForSlot(0); // "Yes"
    dialog.RemoveSelected();
    EXPECT_EQ(samplers.Count(), 1u);
}

} // namespace
} // namespace quorvel
