// The SampleCell instrument's chunk layout (no pad bytes), its slice files,
// templates, tuning for pitch mode, and what a cancel leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "InstrumentExportFixtures.h"
#include "fileformats/SampleCellExport.h"

namespace quorvel {
namespace {

using namespace test;

struct Exported {
    ExportOutcome outcome;
    Bytes file;
};

Exported Export(const CSoundDocument& document, const TempFolder& dir, SampleCellExportSettings settings = {},
                ReplaceAnswer replace = ReplaceAnswer::Replace)
{
    CExportJob job = MakeExportJob(document);
    ScriptedQuestions questions;
    questions.files = {CFileSpec(dir / "Groove.ins")};
    questions.replace = replace;
    CExportProgress progress;
    const ExportOutcome outcome = ExportSampleCell(job, settings, false, questions, progress);
    return {outcome, ReadBytes(dir / "Groove.ins")};
}

std::vector<RiffItem> Chunks(const Bytes& file)
{
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "SCin");
    return RiffItems(file, 12, file.size(), false);
}

TEST(SampleCellExport, ChunkLayoutWithoutPads)
{
    TempFolder dir;
    const Exported exported = Export(*SlicedDocument({0, 1000, 3000}, 3500), dir);
    ASSERT_EQ(exported.outcome, ExportOutcome::Completed);
    const Bytes& file = exported.file;
    const auto chunks = Chunks(file);
    const std::vector<std::pair<std::string, uint32_t>> layout{
        {"FVER", 4},  {"ANNO", 1},  {"FPTH", 4 + 3 * 18}, {"KeyS", 12 + 3 * 64}, {"KeyP", 6 + 3 * 24}, {"GenP", 60},
        {"EnvP", 52}, {"LFOP", 20}, {"Ramp", 6},          {"TrkP", 44},          {"ModP", 164}};
    ASSERT_EQ(chunks.size(), layout.size());
    uint32_t end = 12;
    for (size_t i = 0; i < layout.size(); ++i) {
        EXPECT_EQ(chunks[i].id, layout[i].first);
        EXPECT_EQ(chunks[i].size, layout[i].second) << layout[i].first;
        end += 8 + chunks[i].size;
    }
    EXPECT_EQ(end, file.size()); // no pad byte anywhere
    EXPECT_EQ(chunks[2].payload - 8, 33u); // "FPTH" follows the 1-byte "ANNO" at an odd position
    EXPECT_EQ(Payload(file, chunks[0]) + Payload(file, chunks[1]), Text("Monk") + Bytes{0});

    Bytes paths = LE32(3);
    const size_t frames[] = {1000, 2000, 500};
    for (size_t i = 0; i < 3; ++i) {
        const std::string name = "Groov00" + std::to_string(i + 1) + ".wav";
        paths += LE32(14) + Text(name) + Bytes{0, 0};
        EXPECT_EQ(ReadBytes(dir / name).size(), 44 + 2 * frames[i]) << name;
    }
    EXPECT_EQ(Payload(file, chunks[2]), paths);

    const Bytes keyS = Payload(file, chunks[3]);
    EXPECT_EQ(Bytes(keyS.begin(), keyS.begin() + 12), LE32(3) + LE32(64) + LE32(7000));
    Bytes name = Bytes{8} + Text("Groov002");
    name.resize(36);
    const Bytes second = LE32(1) + LE32(0) + LE16(1) + LE32(0) + LE32(4000) + name + LE16(63) + LE16(0) + LE16(63) +
                         LE16(0) + LE16(63);
    EXPECT_EQ(Bytes(keyS.begin() + 12 + 64, keyS.begin() + 12 + 128), second);

    Bytes keyP = LE16(3) + LE16(6) + LE16(14);
    for (uint32_t i = 0; i < 3; ++i)
        keyP += LE16(i == 2 ? 127 : 36 + i) + LE16(0) + LE16(1) + LE32(i) + LE32(0xFFFFFFFF) + LE16(0) + LE16(99) +
                LE16(0) + LE16(0) + LE16(60);
    EXPECT_EQ(Payload(file, chunks[4]), keyP);
}

TEST(SampleCellExport, TemplateParameters)
{
    TempFolder dir;
    Bytes keyP = LE16(1) + LE16(6) + LE16(14) + LE16(127) + LE16(77) + LE16(1) + Bytes(18);
    const Bytes genP(60, 0xAB);
    const Bytes envP = LE16(4) + Bytes{16, 0} + Bytes(64, 0xEE); // four envelopes: not ours, defaults stay
    const Bytes lfoP = LE16(2) + Bytes{8, 0} + Bytes(16, 0x11);
    WriteBytes(dir / "Template.ins",
               Group("RIFF", "SCin",
                     Chunk("ANNO", {0}, false, false) + Chunk("KeyP", keyP, false, false) +
                         Chunk("GenP", genP, false, false) + Chunk("EnvP", envP, false, false) +
                         Chunk("LFOP", lfoP, false, false),
                     false));
    const auto document = EvenlySliced(2, 500);
    const Bytes plain = Export(*document, dir).file;
    SampleCellExportSettings settings;
    settings.useTemplate = true;
    settings.templateFile = CFileSpec(dir / "Template.ins");
    const Bytes templated = Export(*document, dir, settings).file;

    const auto p = Chunks(plain);
    const auto t = Chunks(templated);
    EXPECT_EQ(GetLE16(&templated[FindItem(t, "KeyP").payload + 8]), 77);
    EXPECT_EQ(Payload(templated, FindItem(t, "GenP")), genP);
    EXPECT_EQ(Payload(templated, FindItem(t, "EnvP")), Payload(plain, FindItem(p, "EnvP")));
    EXPECT_EQ(Payload(templated, FindItem(t, "LFOP")), lfoP);
}

TEST(SampleCellExport, TuningForPitchMode)
{
    struct Case {
        bool pitchMode;
        int cents;
        int rootKey;
        int fineTune;
    };
    // Semitones to the root key, the rest (-50 .. 50 cents) to the fine tune;
    // beyond the keyboard the key is held and the tune left alone.
    for (const Case& c : std::vector<Case>{{false, 300, 60, 63}, {true, 0, 60, 63},     {true, 120, 59, 88},
                                           {true, 170, 58, 26},  {true, -170, 62, 101}, {true, 150, 58, 1},
                                           {true, -150, 62, 126}, {true, 7000, 0, 63},  {true, -8000, 127, 63}}) {
        const SampleCellTuning tuning = SampleCellTuningFor(c.pitchMode, c.cents);
        EXPECT_EQ(tuning.rootKey, c.rootKey) << c.cents;
        EXPECT_EQ(tuning.fineTune, c.fineTune) << c.cents;
    }
}

TEST(SampleCellExport, TheInstrumentAndItsSlicesChangeTogetherOrNotAtAll)
{
    const auto names = [](const TempFolder& dir) {
        std::vector<std::string> all = dir.Names();
        std::sort(all.begin(), all.end());
        return all;
    };
    const std::vector<std::string> before{"Groov002.wav", "Groove.ins"};
    { // a refused replace, asked before anything is written
        TempFolder dir;
        WriteBytes(dir / "Groove.ins", Text("old instrument"));
        WriteBytes(dir / "Groov002.wav", Text("old slice"));
        const Exported exported = Export(*EvenlySliced(3, 400), dir, {}, ReplaceAnswer::Cancel);
        EXPECT_EQ(exported.outcome, ExportOutcome::Cancelled);
        EXPECT_EQ(exported.file, Text("old instrument"));
        EXPECT_EQ(ReadBytes(dir / "Groov002.wav"), Text("old slice"));
        EXPECT_EQ(names(dir), before);
    }
    { // a failure on the third slice file (a folder of that name)
        TempFolder dir;
        WriteBytes(dir / "Groove.ins", Text("old instrument"));
        WriteBytes(dir / "Groov002.wav", Text("old slice"));
        std::filesystem::create_directory(dir / "Groov003.wav");
        EXPECT_THROW(Export(*EvenlySliced(3, 400), dir), XExportFailed);
        EXPECT_EQ(ReadBytes(dir / "Groove.ins"), Text("old instrument"));
        EXPECT_EQ(ReadBytes(dir / "Groov002.wav"), Text("old slice"));
        EXPECT_EQ(names(dir), (std::vector<std::string>{"Groov002.wav", "Groov003.wav", "Groove.ins"}));
    }
    { // completed: every file replaced
        TempFolder dir;
        WriteBytes(dir / "Groove.ins", Text("old instrument"));
        WriteBytes(dir / "Groov002.wav", Text("old slice"));
        const Exported exported = Export(*EvenlySliced(3, 400), dir);
        EXPECT_EQ(exported.outcome, ExportOutcome::Completed);
        EXPECT_NE(exported.file, Text("old instrument"));
        EXPECT_NE(ReadBytes(dir / "Groov002.wav"), Text("old slice"));
        EXPECT_EQ(names(dir), (std::vector<std::string>{"Groov001.wav", "Groov002.wav", "Groov003.wav", "Groove.ins"}));
    }
}

} // namespace
} // namespace quorvel
