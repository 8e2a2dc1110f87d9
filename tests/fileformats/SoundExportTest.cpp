#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include "../common/SlicedSound.h"
#include "ExportedFiles.h"
#include "fileformats/SoundExport.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/InstrumentExportQuestions.h"
#include "fileformats/OutputLimits.h"
#include "framework/FileExceptions.h"

namespace quorvel {
namespace {

using namespace test;

// Answers alert 18 from a script and presses Cancel before slice `stopAt`.
struct Script : CExportQuestions, CExportProgress {
    Script(std::vector<ReplaceAnswer> given = {}, int stop = -1) : answers(std::move(given)), stopAt(stop) {}
    std::vector<ReplaceAnswer> answers; // a question too many throws
    int stopAt = -1, slice = 0;
    size_t asked = 0;
    ReplaceAnswer AskReplace(const std::string&) override { return answers.at(asked++); }
    void Show(int slicesLeft, int) override { slice = 3 - slicesLeft; }
    bool CancelPressed() override { return slice == stopAt; }
};

// Three slices exported next to Groove.aif.
struct Export {
    TempFolder dir;
    std::unique_ptr<SlicedSound> s = MakeSlicedSound(3000, {0, 1000, 1800});
    CExportJob job{*s->sound, s->slices, 0, 3000, 1000, false, false, true, {}};

    ExportOutcome Run(Script&& script, const FileTypeSpec& type = filetypes::kAIFF, int32_t rate = 44100)
    {
        return ExportSlicesToFiles(job, {CFileSpec(dir / "Groove.aif"), &type, rate}, script, script);
    }
    std::vector<std::string> Names() const
    {
        auto names = dir.Names();
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST(SliceFileNames, NumberedAndCutToTheLimits)
{
    EXPECT_EQ(SliceFileName("Groove", 0, 260, filetypes::kAIFF), "Groove #001.aif");
    EXPECT_EQ(SliceFileName("Groove", 999, 260, filetypes::kWave), "Groove #1000.wav");
    EXPECT_EQ(SliceFileName("Groove", 4, 9, filetypes::kAIFF), "Groove005.aif"); // " #005" is over half of 9
    EXPECT_EQ(SliceFileName(std::string(300, 'a'), 0, 200, filetypes::kAIFF), std::string(195, 'a') + " #001.aif");
    // 260 plus the extension would pass the 255 bytes Linux allows a name.
    EXPECT_EQ(SliceFileName(std::string(300, 'a'), 0, 260, filetypes::kAIFF).size(), 255u);
    EXPECT_EQ(SliceFileName("abcd\xC3\xA9", 0, 10, filetypes::kAIFF), "abcd #001.aif"); // never half a character
}

TEST(SoundExport, EverySliceFileReadsBackAsItsOutput)
{
    for (const FileTypeSpec* type : {&filetypes::kAIFF, &filetypes::kWave, &filetypes::kFLAC}) {
        Export e;
        ASSERT_EQ(e.Run(Script(), *type, 48000), ExportOutcome::Completed);
        const char* soxType = type == &filetypes::kWave ? "wav" : type == &filetypes::kFLAC ? "flac" : "aiff";
        for (int i = 0; HaveSox() && i < 3; ++i) {
            const std::string path = e.dir / SliceFileName("Groove", i, 260, *type);
            EXPECT_EQ(SoxSamples(path, soxType, e.dir / "raw"), ValuesOf(*e.job.GetOutput(i))) << path;
            EXPECT_EQ(std::system(("sox --i -r '" + path + "' | grep -qx 48000").c_str()), 0) << path;
        }
    }
    // A slice of no frames: WAV without "data", AIFF with an empty "SSND".
    WAVE_SAMPLE empty("Empty", 44100, 0);
    CMemoryMedia wav(1024), aiff(1024);
    WriteSliceFile(wav, empty, filetypes::kWave);
    EXPECT_EQ(wav.GetPosition(), 12 + 8 + 16);
    WriteSliceFile(aiff, empty, filetypes::kAIFF);
    EXPECT_EQ(ChunksOf(Bytes(aiff.Data(), aiff.Data() + aiff.GetPosition()))[1].size, 8u);
}

TEST(SoundExport, ReplaceQuestionsComeFirstAndTheFilesChangeTogether)
{
    Export replacing; // "Replace All" holds for the rest of that export only
    WriteBytes(replacing.dir / "Groove #001.aif", Text("old"));
    WriteBytes(replacing.dir / "Groove #003.aif", Text("old"));
    EXPECT_EQ(replacing.Run(Script{{ReplaceAnswer::ReplaceAll}}), ExportOutcome::Completed); // asked once
    EXPECT_NE(ReadBytes(replacing.dir / "Groove #003.aif"), Text("old"));

    Export refused; // a refused replace of the third file leaves the first two as they were
    WriteBytes(refused.dir / "Groove #001.aif", Text("old"));
    WriteBytes(refused.dir / "Groove #003.aif", Text("old"));
    EXPECT_EQ(refused.Run(Script{{ReplaceAnswer::Replace, ReplaceAnswer::Cancel}}), ExportOutcome::Cancelled);
    EXPECT_EQ(refused.Names(), (std::vector<std::string>{"Groove #001.aif", "Groove #003.aif"}));
    EXPECT_EQ(ReadBytes(refused.dir / "Groove #001.aif"), Text("old"));

    Export dangling; // a link that points nowhere is an existing file
    ASSERT_EQ(::symlink("nowhere", (dangling.dir / "Groove #002.aif").c_str()), 0);
    EXPECT_EQ(dangling.Run(Script{{ReplaceAnswer::Cancel}}), ExportOutcome::Cancelled);
    EXPECT_EQ(dangling.Names(), std::vector<std::string>{"Groove #002.aif"});

    Export cancelled; // Cancel in the progress window before the third file
    WriteBytes(cancelled.dir / "Groove #001.aif", Text("old"));
    EXPECT_EQ(cancelled.Run(Script{{ReplaceAnswer::Replace}, 2}), ExportOutcome::Cancelled);
    EXPECT_EQ(cancelled.Names(), std::vector<std::string>{"Groove #001.aif"});
    EXPECT_EQ(ReadBytes(cancelled.dir / "Groove #001.aif"), Text("old"));

    Export failing; // a failure on the second file: no file of the set appears
    std::filesystem::create_directory(failing.dir / "Groove #002.aif");
    EXPECT_THROW(failing.Run(Script{{ReplaceAnswer::Replace}}), XFile);
    EXPECT_EQ(failing.Names(), std::vector<std::string>{"Groove #002.aif"});
    EXPECT_TRUE(std::filesystem::is_directory(failing.dir / "Groove #002.aif"));
}

TEST(SoundExport, AnOutputLongerThanASoundCanBeIsRefusedAsThat)
{
    // Five minutes at 1 Hz converted to 192 kHz: 57.6 million frames, more
    // than the sample store holds. Refused up front with the length alert,
    // not as a full disk, and nothing is written.
    const TempFolder dir;
    auto s = MakeSlicedSound(300, {0}, {}, 1);
    CExportJob job{*s->sound, s->slices, 0, 300, 1000, false, false, true, {}};
    Script script;
    try {
        ExportSlicesToFiles(job, {CFileSpec(dir / "Slow.wav"), &filetypes::kWave, 192000}, script, script);
        FAIL() << "exported";
    } catch (const XExportFailed& refused) {
        EXPECT_EQ(refused.Table(), kFileAlertTable);
        EXPECT_EQ(refused.Alert(), kSoundTooLongAlert);
    }
    EXPECT_TRUE(dir.Names().empty());
    Script fits;
    EXPECT_EQ(ExportSlicesToFiles(job, {CFileSpec(dir / "Slow.wav"), &filetypes::kWave, 44100}, fits, fits),
              ExportOutcome::Completed);
}

TEST(SoundExport, WaveHeadersNeverOverflow)
{
    // The bytes per second of the highest rate a sound can carry still fit
    // their field (2 x rate for mono) and are written exactly.
    WAVE_SAMPLE fast("Fast", INT32_MAX, 4);
    CMemoryMedia wav(1024);
    WriteSliceFile(wav, fast, filetypes::kWave);
    const Bytes bytes(wav.Data(), wav.Data() + wav.GetPosition());
    const auto le32 = [&](size_t at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    };
    EXPECT_EQ(le32(24), uint32_t(INT32_MAX));        // sample rate
    EXPECT_EQ(le32(28), 2u * uint32_t(INT32_MAX));   // bytes per second
    // A rate no header can state is refused before a byte is written.
    WAVE_SAMPLE none("None", 0, 4);
    CMemoryMedia refused(1024);
    EXPECT_THROW(WriteSliceFile(refused, none, filetypes::kWave), XHeaderOverflow);
    EXPECT_EQ(refused.GetPosition(), 0);
}

} // namespace
} // namespace quorvel
