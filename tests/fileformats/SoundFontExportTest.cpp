// The SoundFont bank's records, sizes and offsets, its limits and cancel,
// and FluidSynth playing the bank with the groove MIDI file.
#include <gtest/gtest.h>

#include <tuple>

#include "InstrumentExportFixtures.h"
#include "fileformats/SoundFontExport.h"
#include "fileformats/SoundFontFileWriter.h"

namespace quorvel {
namespace {

using namespace test;

std::string NameAt(const Bytes& file, size_t at) { return std::string(reinterpret_cast<const char*>(&file[at])); }

// Top level of the bank: INFO, sdta, pdta.
std::vector<RiffItem> BankLists(const Bytes& file)
{
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(GetLE32(&file[4]), file.size() - 8);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "sfbk");
    return RiffItems(file, 12, file.size());
}

std::vector<RiffItem> Inside(const Bytes& file, const RiffItem& list)
{
    return RiffItems(file, list.payload, list.payload + list.size - 4);
}

Bytes ExportBank(const CSoundDocument& document, const TempFolder& dir, const std::string& name)
{
    CExportJob job = MakeExportJob(document);
    ScriptedQuestions questions;
    questions.files = {CFileSpec(dir / "Bank.sf2")};
    CExportProgress progress;
    EXPECT_EQ(ExportSoundFont(job, {name, false}, questions, progress), ExportOutcome::Completed);
    return ReadBytes(dir / "Bank.sf2");
}

TEST(SoundFontExport, RecordSizesAndOffsets)
{
    TempFolder dir;
    const auto document = SlicedDocument({0, 1000, 3000}, 3500);
    const Bytes file = ExportBank(*document, dir, "Loop");
    const auto lists = BankLists(file);
    ASSERT_EQ(lists.size(), 3u);

    const auto info = Inside(file, lists[0]);
    const std::vector<std::tuple<std::string, uint32_t, std::string>> texts{
        {"ifil", 4, "\x02"}, {"isng", 8, "EMU8000"}, {"INAM", 6, "Bank"}, {"ICMT", 20, "Created by Quorvel!"}};
    ASSERT_EQ(info.size(), texts.size()); // empty texts are left out
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(info[i].id, std::get<0>(texts[i]));
        EXPECT_EQ(info[i].size, std::get<1>(texts[i])) << info[i].id; // "Bank": zero and a pad zero
        EXPECT_EQ(NameAt(file, info[i].payload), std::get<2>(texts[i]));
    }

    const RiffItem smpl = Inside(file, lists[1]).at(0);
    ASSERT_EQ(smpl.id, "smpl");
    EXPECT_EQ(smpl.size, (3500u + 46 * 3) * 2);
    auto valueAt = [&](uint32_t i) { return int16_t(GetLE16(&file[smpl.payload + 2 * i])); };
    EXPECT_EQ(valueAt(1046), document->Sound()->Value(1000)); // the second slice's frames ...
    EXPECT_EQ(valueAt(3045), document->Sound()->Value(2999));
    for (uint32_t i = 3046; i < 3092; ++i) // ... and its 46 zeros
        EXPECT_EQ(valueAt(i), 0);

    const auto pdta = Inside(file, lists[2]);
    const std::vector<std::pair<std::string, uint32_t>> expected{
        {"phdr", 76}, {"pbag", 8},  {"pmod", 10}, {"pgen", 8},   {"inst", 44},
        {"ibag", 16}, {"imod", 10}, {"igen", 28}, {"shdr", 184}};
    ASSERT_EQ(pdta.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(pdta[i].id, expected[i].first);
        EXPECT_EQ(pdta[i].size, expected[i].second) << expected[i].first;
    }
    // FluidSynth checks the bags and terminal records (FluidSynthRenderTest).
    const size_t shdr = pdta[8].payload;
    const uint32_t starts[] = {0, 1046, 3092};
    const uint32_t ends[] = {1000, 3046, 3592};
    for (int i = 0; i < 3; ++i) {
        const size_t at = shdr + 46 * size_t(i);
        EXPECT_EQ(NameAt(file, at), "Loop " + std::to_string(i + 1));
        EXPECT_EQ(GetLE32(&file[at + 20]), starts[i]);
        EXPECT_EQ(GetLE32(&file[at + 24]), ends[i]);
        EXPECT_EQ(Payload(file, {"", at + 28, 8}), LE32(starts[i]) + LE32(ends[i])); // loop = the whole slice
        EXPECT_EQ(file[at + 40], 36 + i);
    }
    EXPECT_EQ(NameAt(file, shdr + 138), "EOS");
}

TEST(SoundFontExport, SampleNames)
{
    EXPECT_EQ(CSoundFontFileWriter::SampleName("Big  Beat", 99), "Big Beat 100");
    EXPECT_EQ(CSoundFontFileWriter::SampleName("ABCDEFGHIJKLMNOPQRSTUVW", 9), "ABCDEFGHIJKLMNOP 10");
}

TEST(SoundFontExport, SliceLimit)
{
    TempFolder dir;
    const auto document = EvenlySliced(93, 100);
    CExportProgress progress;

    CExportJob job = MakeExportJob(*document);
    ScriptedQuestions accepted;
    accepted.files = {CFileSpec(dir / "Bank.sf2")};
    ASSERT_EQ(ExportSoundFont(job, {"Loop", false}, accepted, progress), ExportOutcome::Completed);
    ASSERT_EQ(accepted.limits.size(), 1u);
    EXPECT_NE(accepted.limits[0].text.find("You've got 93 slices, but the limit for a SoundFont bank created by "
                                           "Quorvel! is 92. Would you like to export the first 92 slices?"),
              std::string::npos);
    const Bytes file = ReadBytes(dir / "Bank.sf2");
    const RiffItem shdr = FindItem(Inside(file, BankLists(file)[2]), "shdr");
    ASSERT_EQ(shdr.size, 93u * 46);
    EXPECT_EQ(file[shdr.payload + 91 * 46 + 40], 127);
}

TEST(SoundFontExport, StopLeavesNoFileAndKeepsTheOldOne)
{
    TempFolder dir;
    WriteBytes(dir / "Bank.sf2", Text("old bank"));
    const auto document = EvenlySliced(4, 3000);
    CExportJob job = MakeExportJob(*document);
    ScriptedQuestions questions;
    questions.files = {CFileSpec(dir / "Bank.sf2")};
    StopAt stop(5); // inside the second slice
    EXPECT_EQ(ExportSoundFont(job, {"Loop", false}, questions, stop), ExportOutcome::Cancelled);
    EXPECT_EQ(ReadBytes(dir / "Bank.sf2"), Text("old bank"));
    EXPECT_EQ(dir.Names().size(), 1u);
}

} // namespace
} // namespace quorvel
