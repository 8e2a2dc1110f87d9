#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "../../app/RunTool.h"
#include "../../common/TempFolder.h"
#include "WindowTestServices.h"
#include "fileformats/DocumentFile.h"
#include "framework/window/AlertBox.h"
#include "ui/views/ViewActions.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/WindowControls.h"

namespace quorvel::test {
namespace {

// Note-on events of velocity 127 in a MIDI file written without running status.
int NotesIn(const std::vector<uint8_t>& bytes)
{
    int notes = 0;
    for (size_t i = 0; i + 2 < bytes.size(); ++i)
        if (bytes[i] == 0x90 && bytes[i + 2] == 127)
            ++notes;
    return notes;
}

class WindowExportTest : public ::testing::Test {
protected:
    WindowExportTest()
    {
        CAlertBox::SetResponder([this](const AlertRecord& record) {
            alerts_.push_back(record.message);
            return alertAnswer_;
        });
    }
    ~WindowExportTest() override
    {
        CAlertBox::SetResponder(nullptr);
        CModalDialog::SetAutoAnswer(std::nullopt);
    }

    CTestServices services_;
    TempFolder folder_;
    std::vector<std::string> alerts_;
    int alertAnswer_ = AlertResultForSlot(0);
};

TEST_F(WindowExportTest, GrooveMIDIOverTheLimitAsksAndWritesAtMost92Notes)
{
    CQuorvelWindow window(EvenlySlicedDocument(100), services_);
    // No length yet: the length dialog is answered with 2 bars.
    CModalDialog::SetAutoAnswer(2);

    alertAnswer_ = AlertResultForSlot(1); // Cancel
    window.HandleCommand(CQuorvelWindow::kCmdExportGrooveMIDI);
    EXPECT_EQ(window.Document().Bars(), 2);
    ASSERT_EQ(alerts_.size(), 1u);
    EXPECT_EQ(alerts_[0], "Only the first 92 slices will be included in the MIDI file. Do you wish to continue?");
    EXPECT_TRUE(services_.dialogs.saveRequests.empty());
    EXPECT_TRUE(folder_.Names().empty());

    alertAnswer_ = AlertResultForSlot(0); // OK
    const std::string path = folder_ / "Groove.mid";
    services_.dialogs.saveAnswers.push_back(path);
    window.HandleCommand(CQuorvelWindow::kCmdExportGrooveMIDI);
    ASSERT_EQ(services_.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(services_.dialogs.saveRequests[0].title, "Export MIDI File");
    EXPECT_EQ(services_.dialogs.saveRequests[0].typeName, "Standard MIDI File");
    EXPECT_EQ(NotesIn(ReadBytes(path)), 92);
}

TEST_F(WindowExportTest, QLXOverItsTableAsksBeforeLeavingASliceOut)
{
    // 1000 slices after a lead-in: 1001 outputs for a table of 1000.
    std::vector<StoredSlice> slices;
    for (int i = 1; i <= 1000; ++i)
        slices.push_back(NormalSlice(i * 100));
    CQuorvelWindow window(DocumentWithSlices(1001 * 100, slices), services_);
    CModalDialog::SetAutoAnswer(1); // one bar
    const std::string path = folder_ / "Loop.qlx";

    services_.dialogs.saveAnswers.push_back(path);
    alertAnswer_ = AlertResultForSlot(1); // Cancel
    window.HandleCommand(CQuorvelWindow::kCmdExportQLX);
    ASSERT_EQ(alerts_.size(), 1u);
    EXPECT_EQ(alerts_[0], "Only the first 1000 slices will be included in the QLX file. Do you wish to continue?");
    EXPECT_TRUE(folder_.Names().empty());

    services_.dialogs.saveAnswers.push_back(path);
    alertAnswer_ = AlertResultForSlot(0); // OK
    window.HandleCommand(CQuorvelWindow::kCmdExportQLX);
    EXPECT_EQ(alerts_.size(), 2u);
    EXPECT_FALSE(ReadBytes(path).empty());
}

TEST_F(WindowExportTest, ExportsNeedALengthAndReportTheirFailures)
{
    CQuorvelWindow window(EvenlySlicedDocument(10), services_);
    CModalDialog::SetAutoAnswer(0); // the length dialog cancelled
    window.HandleCommand(CQuorvelWindow::kCmdExportQLX);
    EXPECT_TRUE(services_.dialogs.saveRequests.empty());
    EXPECT_EQ(window.Document().Bars(), 0);

    CModalDialog::SetAutoAnswer(1);
    services_.dialogs.saveAnswers.push_back(folder_ / "no/such/folder/Loop.qlx");
    window.HandleCommand(CQuorvelWindow::kCmdExportQLX);
    ASSERT_EQ(services_.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(services_.dialogs.saveRequests[0].title, "Export QLX File");
    EXPECT_EQ(services_.dialogs.saveRequests[0].typeName, "QLX File");
    EXPECT_EQ(services_.dialogs.saveRequests[0].defaultName, "Loop.qlx");
    ASSERT_EQ(alerts_.size(), 1u);
    EXPECT_EQ(alerts_[0], "You may have run out of memory or disk space.");

    // Sound export: one file per slice, a taken name asks first (Cancel
    // stops before any file is written).
    services_.dialogs.exportSoundAnswer = SSoundExportChoice{folder_ / "Part", true, 44100};
    WriteBytes(folder_ / "Part #003.wav", {1, 2, 3});
    alertAnswer_ = AlertResultForSlot(0); // Cancel
    window.HandleCommand(CQuorvelWindow::kCmdExportSound);
    EXPECT_EQ(alerts_.size(), 2u);
    EXPECT_FALSE(CFileSpec(folder_ / "Part #002.wav").NameTaken());
    EXPECT_EQ(ReadBytes(folder_ / "Part #003.wav").size(), 3u);
    EXPECT_FALSE(CFileSpec(folder_ / "Part #004.wav").NameTaken());
}

// Opens the demo loop, edits it as a user would, saves it, reopens it and
// exports QLX; the command-line tool must write the same bytes from the
// same settings.
TEST_F(WindowExportTest, EditedDemoLoopSurvivesSavingAndExportsLikeTheTool)
{
    const std::string demo = std::string(QUORVEL_SOURCE_DIR) + "/examples/demo-loop.wav";
    OpenedDocument opened = OpenSoundOrDocument(CFileSpec(demo), ChannelMode::Mix, DefaultDocumentOptions{}, false);
    CQuorvelWindow window(std::move(opened.document), services_);
    window.show();
    CSoundDocument& d = window.Document();

    window.Controls().SensitivityFader()->setValue(999 * 500 / 990);
    ASSERT_EQ(d.Sensitivity(), 500);
    CSliceList& slices = d.Slices();
    std::vector<CSlice*> shown;
    for (CSlice* s = slices.First(SliceFilter::Shown); s; s = slices.Next(s, SliceFilter::Shown))
        shown.push_back(s);
    ASSERT_GE(shown.size(), 4u);
    const int32_t hidden = shown[1]->position;
    const int32_t locked = shown[3]->position;
    // A frame between two shown slices where no slice starts at all.
    int32_t drawn = (shown[1]->position + shown[2]->position) / 2;
    auto taken = [&slices](int32_t frame) {
        for (int i = 0; i < slices.Count(); ++i)
            if (slices.At(i).position == frame)
                return true;
        return false;
    };
    while (taken(drawn))
        ++drawn;

    QTest::keyClick(window.Controls().SensitivityFader(), Qt::Key_2, Qt::ControlModifier);
    window.Actions().SliceHandlePressed(*shown[1], false);
    QTest::keyClick(window.Controls().SensitivityFader(), Qt::Key_3, Qt::ControlModifier);
    window.Actions().SliceHandlePressed(*shown[3], false);
    QTest::keyClick(window.Controls().SensitivityFader(), Qt::Key_4, Qt::ControlModifier);
    window.Actions().PenReleased(drawn);
    window.Actions().PenReleased(drawn); // a taken position adds nothing
    QLineEdit* bars = window.Controls().BarsField();
    bars->setText("2");
    emit bars->editingFinished();
    ASSERT_EQ(d.Bars(), 2);
    EXPECT_NE(window.windowTitle().toStdString().find(" *"), std::string::npos);

    const std::string saved = folder_ / "Edited.qvl";
    services_.dialogs.saveAnswers.push_back(saved);
    window.HandleCommand(CQuorvelWindow::kCmdSaveAs);
    EXPECT_EQ(window.windowTitle().toStdString(), "Edited.qvl (44.1kHz)");

    OpenedDocument reopened = OpenSoundOrDocument(CFileSpec(saved), ChannelMode::Mix, DefaultDocumentOptions{}, false);
    ASSERT_EQ(reopened.alert, 0);
    const CSoundDocument& r = *reopened.document;
    EXPECT_EQ(r.Sensitivity(), 500);
    EXPECT_EQ(r.Bars(), 2);
    EXPECT_EQ(r.Beats(), d.Beats());
    EXPECT_EQ(r.TimeSignatureIndex(), d.TimeSignatureIndex());
    EXPECT_EQ(r.Tempo(), d.Tempo());
    EXPECT_EQ(r.NewTempo(), d.NewTempo());
    EXPECT_EQ(r.StretchIndex(), d.StretchIndex());
    EXPECT_EQ(r.SeparateSamples(), d.SeparateSamples());
    EXPECT_EQ(r.Sound()->LoopStart(), d.Sound()->LoopStart());
    EXPECT_EQ(r.Sound()->LoopEnd(), d.Sound()->LoopEnd());
    ASSERT_EQ(r.Slices().Count(), d.Slices().Count());
    for (int i = 0; i < r.Slices().Count(); ++i) {
        const CSlice& a = r.Slices().At(i);
        const CSlice& b = d.Slices().At(i);
        EXPECT_EQ(a.position, b.position) << i;
        EXPECT_EQ(a.strength, b.strength) << i;
        EXPECT_EQ(a.state, b.state) << i;
        EXPECT_EQ(a.selected, b.selected) << i;
    }
    int found = 0;
    for (int i = 0; i < r.Slices().Count(); ++i) {
        const CSlice& s = r.Slices().At(i);
        found += (s.position == hidden && s.state == SliceState::Hidden) +
                 (s.position == locked && s.state == SliceState::Locked) +
                 (s.position == drawn && s.state == SliceState::Locked && s.strength == kPenSliceStrength);
    }
    EXPECT_EQ(found, 3);

    const std::string fromWindow = folder_ / "Window.qlx";
    services_.dialogs.saveAnswers.push_back(fromWindow);
    window.HandleCommand(CQuorvelWindow::kCmdExportQLX);
    const std::string fromTool = folder_ / "Tool.qlx";
    const ToolRun run = RunTool("quorvel-cli", "export " + demo + " --sensitivity 50 --hide " +
                                                   std::to_string(hidden) + " --lock " + std::to_string(locked) +
                                                   " --add " + std::to_string(drawn) + " --bars 2 --qlx " + fromTool);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<uint8_t> windowBytes = ReadBytes(fromWindow);
    EXPECT_GT(windowBytes.size(), 13016u);
    EXPECT_TRUE(windowBytes == ReadBytes(fromTool));
}

} // namespace
} // namespace quorvel::test
