// The drum-kit archive as the drum machine installs it: one folder named
// after the kit holding drumkit.xml (valid against the schema it ships) and
// the slices, equal to Export Sound's WAV files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "InstrumentExportFixtures.h"
#include "fileformats/HydrogenKitExport.h"
#include "fileformats/SoundExport.h"

namespace quorvel {
namespace {

using namespace test;

constexpr const char* kSchema = "/usr/share/hydrogen/data/xsd/drumkit.xsd";

std::vector<std::string> Lines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

struct HydrogenKitExport : ::testing::Test {
    TempFolder dir;
    ScriptedQuestions questions;
    CExportProgress progress;

    ExportOutcome Run(const CSoundDocument& document, const std::string& name)
    {
        CExportJob job = MakeExportJob(document);
        questions.files = {CFileSpec(dir / "kit.h2drumkit")};
        questions.fileQuestions.clear();
        return ExportHydrogenKit(job, name, questions, progress);
    }
};

TEST_F(HydrogenKitExport, TheArchiveHoldsTheKitFolderWithItsXmlAndTheSlices)
{
    const auto document = SlicedDocument({0, 1000, 2500}, 4000);
    ASSERT_EQ(Run(*document, "Break <1> & Co"), ExportOutcome::Completed);

    ASSERT_EQ(Shell("tar tzf '" + (dir / "kit.h2drumkit") + "' > '" + (dir / "list") + "'"), 0);
    EXPECT_EQ(Lines(dir / "list"), (std::vector<std::string>{"Break _1_ & Co/", "Break _1_ & Co/drumkit.xml",
                                                              "Break _1_ & Co/Break _1_ & Co_001.wav",
                                                              "Break _1_ & Co/Break _1_ & Co_002.wav",
                                                              "Break _1_ & Co/Break _1_ & Co_003.wav"}));
    ASSERT_EQ(Shell("tar xzf '" + (dir / "kit.h2drumkit") + "' -C '" + dir.Path() + "'"), 0);
    const std::string kit = dir / "Break _1_ & Co/";

    TempFolder plain;
    CExportJob job = MakeExportJob(*document);
    ASSERT_EQ(ExportSlicesToFiles(job, {CFileSpec(plain / "Loop.wav"), &filetypes::kWave, 44100}, questions,
                                  progress),
              ExportOutcome::Completed);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(ReadBytes(kit + "Break _1_ & Co_00" + std::to_string(k + 1) + ".wav"),
                  ReadBytes(plain / SliceFileName("Loop", k, 260, filetypes::kWave)));

    const Bytes xml = ReadBytes(kit + "drumkit.xml");
    const std::string text(xml.begin(), xml.end());
    EXPECT_NE(text.find("<name>Break &lt;1&gt; &amp; Co</name>"), std::string::npos);
    EXPECT_NE(text.find("<filename>Break _1_ &amp; Co_003.wav</filename>"), std::string::npos);
    EXPECT_EQ(Shell("xmllint --noout '" + kit + "drumkit.xml' 2>/dev/null"), 0) << "well-formed";
    if (!std::filesystem::exists(kSchema))
        GTEST_SKIP() << "the drum machine's schema is not installed";
    EXPECT_EQ(Shell("xmllint --noout --schema " + std::string(kSchema) + " '" + kit + "drumkit.xml' 2>/dev/null"), 0);
}

TEST_F(HydrogenKitExport, AtMost32InstrumentsAfterAskingAndNoFileWhenRefused)
{
    const auto document = EvenlySliced(33, 100);
    questions.acceptLimit = false;
    EXPECT_EQ(Run(*document, "Loop"), ExportOutcome::Cancelled);
    ASSERT_EQ(questions.limits.size(), 1u);
    EXPECT_EQ(questions.limits[0].limit, 32);
    EXPECT_NE(questions.limits[0].text.find("33 slices"), std::string::npos) << questions.limits[0].text;
    EXPECT_TRUE(dir.Names().empty());

    // Stop during the slices: no archive at all.
    questions.acceptLimit = true;
    questions.files = {CFileSpec(dir / "kit.h2drumkit")};
    questions.fileQuestions.clear();
    CExportJob job = MakeExportJob(*document);
    StopAt stop(5);
    EXPECT_EQ(ExportHydrogenKit(job, "Loop", questions, stop), ExportOutcome::Cancelled);
    EXPECT_TRUE(dir.Names().empty());

    ASSERT_EQ(Run(*document, "Loop"), ExportOutcome::Completed);
    ASSERT_EQ(Shell("tar tzf '" + (dir / "kit.h2drumkit") + "' > '" + (dir / "list") + "'"), 0);
    const std::vector<std::string> entries = Lines(dir / "list");
    ASSERT_EQ(entries.size(), 2u + 32u);
    EXPECT_EQ(entries.back(), "Loop/Loop_032.wav");
}

} // namespace
} // namespace quorvel
