// The SFZ instrument read by a checker of the format's rules: well-formed
// headers and opcodes, one region per slice on its own key, every sample
// path relative and present, and the slice files equal to Export Sound's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ExportedFiles.h"
#include "InstrumentExportFixtures.h"
#include "fileformats/PortableFileName.h"
#include "fileformats/SfzExport.h"
#include "fileformats/SoundExport.h"

namespace quorvel {
namespace {

using namespace test;

struct Region {
    std::map<std::string, std::string> opcodes;
};

// Reads the text as an SFZ player does, failing the test on anything a
// strict reader would refuse: text outside a header, an unknown header, an
// opcode name that is not [a-z0-9_]+, an empty value, a path with a
// backslash or an absolute one.
std::vector<Region> ParseSfz(const std::string& text)
{
    std::vector<Region> regions;
    std::string header;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const size_t comment = line.find("//");
        if (comment == 0)
            continue;
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            if (word.front() == '<') {
                EXPECT_EQ(word.back(), '>') << "line " << number;
                header = word;
                EXPECT_TRUE(header == "<region>" || header == "<group>" || header == "<control>" ||
                            header == "<global>")
                    << header;
                if (header == "<region>")
                    regions.emplace_back();
                continue;
            }
            const size_t equals = word.find('=');
            if (equals == std::string::npos) {
                ADD_FAILURE() << "not an opcode, line " << number << ": " << line;
                return {};
            }
            const std::string name = word.substr(0, equals);
            for (const char c : name)
                EXPECT_TRUE(std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) ||
                            c == '_')
                    << name;
            std::string value = word.substr(equals + 1);
            if (name == "sample") { // runs to the end of the line
                std::string rest;
                std::getline(words, rest);
                value += rest;
                EXPECT_EQ(value.find('\\'), std::string::npos) << value;
                EXPECT_NE(value.front(), '/') << value;
            }
            EXPECT_FALSE(value.empty()) << "line " << number;
            if (header != "<region>") {
                ADD_FAILURE() << "opcode outside a region, line " << number;
                return {};
            }
            regions.back().opcodes[name] = value;
        }
    }
    return regions;
}

struct SfzExport : ::testing::Test {
    TempFolder dir;
    ScriptedQuestions questions;
    CExportProgress progress;

    ExportOutcome Run(const CSoundDocument& document, SfzExportOptions options, const std::string& file = "Kit.sfz")
    {
        CExportJob job = MakeExportJob(document);
        questions.files = {CFileSpec(dir / file)};
        questions.fileQuestions.clear();
        return ExportSfz(job, options, questions, progress);
    }
};

TEST_F(SfzExport, EverySliceHasItsRegionKeyAndFileAndTheFilesAreExportSounds)
{
    const auto document = SlicedDocument({0, 1000, 2500, 2600}, 4000);
    SfzExportOptions options;
    options.name = "My Loop";
    options.withMIDIFile = true;
    ASSERT_EQ(Run(*document, options), ExportOutcome::Completed);

    const Bytes text = ReadBytes(dir / "Kit.sfz");
    const std::string sfz(text.begin(), text.end());
    EXPECT_NE(sfz.find("// Tempo: "), std::string::npos) << sfz;
    EXPECT_NE(sfz.find("// Time signature: 4/4"), std::string::npos) << sfz;
    const std::vector<Region> regions = ParseSfz(sfz);
    ASSERT_EQ(regions.size(), 4u);

    // The same slices as Export Sound writes them as WAV files.
    TempFolder plain;
    CExportJob job = MakeExportJob(*document);
    ASSERT_EQ(ExportSlicesToFiles(job, {CFileSpec(plain / "Loop.wav"), &filetypes::kWave, 44100}, questions,
                                  progress),
              ExportOutcome::Completed);
    for (int k = 0; k < 4; ++k) {
        const Region& region = regions[static_cast<size_t>(k)];
        const std::string key = std::to_string(36 + k);
        EXPECT_EQ(region.opcodes.at("lokey"), key);
        EXPECT_EQ(region.opcodes.at("hikey"), key);
        EXPECT_EQ(region.opcodes.at("pitch_keycenter"), key);
        EXPECT_EQ(region.opcodes.at("loop_mode"), "one_shot");
        const std::string sample = region.opcodes.at("sample");
        EXPECT_EQ(sample.find(' '), std::string::npos) << sample;
        ASSERT_TRUE(std::filesystem::is_regular_file(dir / sample)) << sample;
        EXPECT_EQ(ReadBytes(dir / sample), ReadBytes(plain / SliceFileName("Loop", k, 260, filetypes::kWave)))
            << sample;
    }
    EXPECT_EQ(regions[0].opcodes.at("sample"), "Kit_Samples/My_Loop_001.wav");
    // The groove beside the instrument, on the same keys.
    const Bytes midi = ReadBytes(dir / "Kit.mid");
    ASSERT_GT(midi.size(), 14u);
    EXPECT_EQ(std::string(midi.begin(), midi.begin() + 4), "MThd");
    EXPECT_TRUE(questions.fileQuestions.size() == 1u) << "the groove goes beside it without a second question";
}

TEST_F(SfzExport, KeysStopAt127AndALimitOrACancelLeavesNothingBehind)
{
    const auto document = EvenlySliced(40, 200);
    SfzExportOptions options;
    options.name = "Loop";
    options.firstKey = 100;
    questions.acceptLimit = false;
    EXPECT_EQ(Run(*document, options), ExportOutcome::Cancelled);
    ASSERT_EQ(questions.limits.size(), 1u);
    EXPECT_EQ(questions.limits[0].limit, 28);
    EXPECT_NE(questions.limits[0].text.find("You've got 40 slices"), std::string::npos) << questions.limits[0].text;
    EXPECT_TRUE(dir.Names().empty());

    // Stop during the slices: no instrument and no samples folder.
    StopAt stop(3);
    CExportJob job = MakeExportJob(*document);
    questions.acceptLimit = true;
    questions.files = {CFileSpec(dir / "Kit.sfz")};
    questions.fileQuestions.clear();
    EXPECT_EQ(ExportSfz(job, options, questions, stop), ExportOutcome::Cancelled);
    EXPECT_TRUE(dir.Names().empty());

    ASSERT_EQ(Run(*document, options), ExportOutcome::Completed);
    const Bytes text = ReadBytes(dir / "Kit.sfz");
    const std::vector<Region> regions = ParseSfz(std::string(text.begin(), text.end()));
    ASSERT_EQ(regions.size(), 28u);
    EXPECT_EQ(regions.back().opcodes.at("hikey"), "127");
}

TEST_F(SfzExport, SfizzPlaysTheInstrumentWhereItIsInstalled)
{
    if (std::system("command -v sfizz_render >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "sfizz_render is not installed";
    const auto document = SlicedDocument({0, 1000, 2500}, 4000);
    ASSERT_EQ(Run(*document, {"Loop", true}), ExportOutcome::Completed);
    const std::string command = "sfizz_render --sfz '" + (dir / "Kit.sfz") + "' --midi '" + (dir / "Kit.mid") +
                                "' --wav '" + (dir / "out.wav") + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<int16_t> played = SoxSamples(dir / "out.wav", "wav", dir / "raw");
    EXPECT_TRUE(std::any_of(played.begin(), played.end(), [](int16_t v) { return v != 0; })) << "silence";
}

TEST(PortableFileName, NamesEveryFileSystemTakes)
{
    EXPECT_EQ(PortableFileName("Drums: \"Take\" 1/2?"), "Drums_ _Take_ 1_2_");
    EXPECT_EQ(PortableFileName("Loop. . "), "Loop");
    EXPECT_EQ(PortableFileName("con"), "con_");
    EXPECT_EQ(PortableFileName("LPT1.backup"), "LPT1_.backup");
    EXPECT_EQ(PortableFileName("CONSOLE"), "CONSOLE");
    EXPECT_EQ(PortableFileName(".."), "Untitled");
    EXPECT_EQ(PortableFileName(std::string("a\tb\x01", 4)), "a_b_");
    EXPECT_EQ(PortableFileName("abc\xC3\xA9", 4), "abc"); // never half a character
    EXPECT_EQ(SfzSafeName("Big $kick #2=x"), "Big__kick__2_x");
}

} // namespace
} // namespace quorvel
