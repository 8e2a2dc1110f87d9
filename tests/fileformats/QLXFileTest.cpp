#include <gtest/gtest.h>

#include "../common/SlicedSound.h"
#include "ExportedFiles.h"
#include "InstrumentExportFixtures.h"
#include "analysis/Tempo.h"
#include "document/TimeSignature.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/QLXFile.h"

namespace quorvel {
namespace {

using namespace test;

// Slices of 300, 256, 100 and 344 frames: the second ends on a block
// boundary, so the third follows it with no padding.
const std::vector<int32_t> kCuts{0, 300, 556, 656};

CExportJob Job(const SlicedSound& s, int32_t start, int32_t end, bool separate, int32_t bars, int32_t beats,
               int32_t tempo)
{
    const auto metre = MakeOutputTempoSettings(4, 4, LoopLengthInTicks(bars, beats, {4, 4}), false, tempo, 0);
    return CExportJob(*s.sound, s.slices, start, end, 1000, false, false, separate, metre);
}

// Presses Cancel, or fails, before the third slice.
struct StopAtThird : CExportProgress {
    explicit StopAtThird(bool fail) : fail_(fail) {}
    void Show(int slicesLeft, int) override { third_ = slicesLeft == 2; }
    bool CancelPressed() override { return third_ && (fail_ ? throw XOutOfMemory() : true); }
    bool fail_, third_ = false;
};

TEST(QLXFile, SlicesStartOnBlocksAndTheTableDescribesThem)
{
    const TempFolder dir;
    auto s = MakeSlicedSound(1000, kCuts);
    CExportJob job = Job(*s, 0, 1000, true, 2, 2, 120000);
    CExportProgress progress;
    ScriptedQuestions questions;
    ASSERT_EQ(ExportQLXFile(job, CFileSpec(dir / "loop.qlx"), questions, progress), ExportOutcome::Completed);
    EXPECT_TRUE(questions.limits.empty()) << "four slices fit";
    const Bytes file = ReadBytes(dir / "loop.qlx");
    const auto chunks = ChunksOf(file);
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(chunks[0].id + chunks[1].id + chunks[2].id + chunks[3].id + chunks[4].id, "SSNDAPPLCOMMINSTMARK");
    EXPECT_EQ(Bytes(&file[20], &file[512]), BE32(484) + BE32(512) + Bytes(484)); // sound data from byte 512

    const uint8_t* table = &file[chunks[1].payload];
    ASSERT_EQ(chunks[1].size, 13020u);
    const Bytes header = Text("QLX ") + BE32(0xD1D1D1DA) + Bytes{1, 0} + BE32(9600) + BE16(4) + BE32(120000);
    EXPECT_EQ(Bytes(table, table + 20), header);
    const std::vector<std::array<uint32_t, 3>> expected{ // start words, frames, tick of 9600
        {0, 300, 0}, {512, 256, 2880}, {768, 100, 5337}, {1024, 344, 6297}};
    for (size_t i = 0; i < 4; ++i) {
        const uint8_t* entry = table + 1020 + 12 * i;
        EXPECT_EQ((std::array<uint32_t, 3>{GetBE32(entry), GetBE32(entry + 4), GetBE32(entry + 8)}), expected[i]);
        EXPECT_EQ(BigEndianValues(file, 512 + 2 * expected[i][0], expected[i][1]),
                  ValuesOf(*s->sound, kCuts[i], kCuts[i] + int32_t(expected[i][1])));
    }
    EXPECT_EQ(Bytes(&file[1112], &file[1536]), Bytes(424)); // padding after the first slice
    EXPECT_EQ(Bytes(table + 20, table + 1020), Bytes(1000));
    EXPECT_EQ(Bytes(table + 1020 + 48, table + 13020), Bytes(12 * 996));
    EXPECT_EQ(Bytes(&file[chunks[2].payload], &file[chunks[2].payload + 8]), BE16(1) + BE32(1368) + BE16(16));
    EXPECT_EQ(Bytes(&file[chunks[3].payload], &file[chunks[3].payload + 20]),
              (Bytes{60, 0, 0, 127, 1, 127, 0, 0} + BE16(0) + BE16(1) + BE16(2) + BE16(0) + BE16(3) + BE16(4)));
    EXPECT_EQ(Bytes(&file[chunks[4].payload], &file[chunks[4].payload + chunks[4].size]),
              MarkPayload({{1, 0, "Loop start"}, {2, 0, "Loop end"}}));
    if (HaveSox()) { // another reader sees the slices and the padding exactly
        EXPECT_EQ(SoxSamples(dir / "loop.qlx", "aiff", dir / "raw"), BigEndianValues(file, 512, 1368));
    }
}

TEST(QLXFile, OneSampleAndTheTempoHeader)
{
    const TempFolder dir;
    auto s = MakeSlicedSound(1000, kCuts);
    CExportJob one = Job(*s, 100, 1000, false, 1, 0, kMaxTempo);
    CExportProgress progress;
    ScriptedQuestions questions;
    ASSERT_EQ(ExportQLXFile(one, CFileSpec(dir / "one.qlx"), questions, progress), ExportOutcome::Completed);
    const Bytes file = ReadBytes(dir / "one.qlx");
    const uint8_t* table = &file[ChunksOf(file)[1].payload + 4];
    EXPECT_EQ(Bytes(table + 10, table + 16), BE16(1) + BE32(0)); // held tempo, but not really that fast
    EXPECT_EQ(Bytes(table + 1016, table + 1028), BE32(0) + BE32(900) + BE32(0));

    // 87 bars in 1002241 frames at 48 kHz really are 999999.002 milli-BPM.
    auto fast = MakeSlicedSound(1002241, {}, {}, 48000);
    EXPECT_EQ(QlxTempo(Job(*fast, 0, 1002241, false, 87, 0, kMaxTempo)), kMaxTempo);
}

TEST(QLXFile, CancelOrFailureLeavesNoFileAndKeepsTheOldOne)
{
    const TempFolder dir;
    auto s = MakeSlicedSound(1000, kCuts);
    CExportJob job = Job(*s, 0, 1000, true, 1, 0, 120000);
    StopAtThird cancel(false), fail(true);
    ScriptedQuestions questions;
    EXPECT_EQ(ExportQLXFile(job, CFileSpec(dir / "new.qlx"), questions, cancel), ExportOutcome::Cancelled);
    WriteBytes(dir / "old.qlx", Text("previous"));
    EXPECT_THROW(ExportQLXFile(job, CFileSpec(dir / "old.qlx"), questions, fail), XOutOfMemory);
    EXPECT_EQ(ReadBytes(dir / "old.qlx"), Text("previous"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.qlx"});
}

TEST(QLXFile, MoreSlicesThanTheTableHoldsAreNeverDroppedSilently)
{
    // 1000 slices after a lead-in: 1001 outputs for a table of 1000.
    std::vector<int32_t> cuts;
    for (int32_t i = 1; i <= 1000; ++i)
        cuts.push_back(4 * i);
    auto s = MakeSlicedSound(4004, cuts);
    CExportJob job = Job(*s, 0, 4004, true, 1, 0, 120000);
    ASSERT_EQ(job.OutputCount(), 1001);
    CExportProgress progress;
    CMemoryMedia media(1 << 20);
    EXPECT_THROW(WriteQLX(media, job, progress), XQLXTooManySlices) << "no caller may drop one unasked";

    const TempFolder dir;
    ScriptedQuestions refusing;
    refusing.acceptLimit = false;
    EXPECT_EQ(ExportQLXFile(job, CFileSpec(dir / "loop.qlx"), refusing, progress), ExportOutcome::Cancelled);
    EXPECT_TRUE(dir.Names().empty());
    ASSERT_EQ(refusing.limits.size(), 1u);
    EXPECT_EQ(refusing.limits[0].table, kFileAlertTable);
    EXPECT_EQ(refusing.limits[0].alert, kQLXSliceLimitAlert);
    EXPECT_EQ(refusing.limits[0].count, 1001);
    EXPECT_EQ(refusing.limits[0].limit, 1000);
    EXPECT_EQ(refusing.limits[0].text,
              "[Too many slices!]Only the first 1000 slices will be included in the QLX file. Do you wish to "
              "continue?");

    ScriptedQuestions accepting;
    ASSERT_EQ(ExportQLXFile(job, CFileSpec(dir / "loop.qlx"), accepting, progress), ExportOutcome::Completed);
    const Bytes file = ReadBytes(dir / "loop.qlx");
    const auto chunks = ChunksOf(file);
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(GetBE16(&file[chunks[1].payload + 4 + 10]), 1000u);
}

} // namespace
} // namespace quorvel
