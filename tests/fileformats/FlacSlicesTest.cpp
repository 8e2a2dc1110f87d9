// FLAC slice files read back by libsndfile and its tools: 16-bit, and the
// same samples as the WAV slices of the same export.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cstdlib>

#include "../common/SlicedSound.h"
#include "../common/TempFolder.h"
#include "fileformats/SoundExport.h"

namespace quorvel {
namespace {

using namespace test;

struct NoQuestions : CExportQuestions {
    ReplaceAnswer AskReplace(const std::string&) override { return ReplaceAnswer::Cancel; }
};

std::vector<short> Decoded(const std::string& path, int& format, int& rate)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        ADD_FAILURE() << path << ": " << sf_strerror(nullptr);
        return {};
    }
    std::vector<short> values(static_cast<size_t>(info.frames));
    EXPECT_EQ(sf_readf_short(file, values.data(), info.frames), info.frames);
    sf_close(file);
    format = info.format;
    rate = info.samplerate;
    return values;
}

TEST(FlacSlices, EqualTheWaveSlicesSampleForSample)
{
    TempFolder dir;
    const std::unique_ptr<SlicedSound> s = MakeSlicedSound(30000, {0, 10000, 10001, 25000});
    NoQuestions questions;
    CExportProgress progress;
    for (const FileTypeSpec* type : {&filetypes::kWave, &filetypes::kFLAC}) {
        CExportJob job{*s->sound, s->slices, 0, 30000, 1000, false, false, true, {}};
        ASSERT_EQ(ExportSlicesToFiles(job, {CFileSpec(dir / "Loop.wav"), type, 32000}, questions, progress),
                  ExportOutcome::Completed);
    }
    for (int i = 0; i < 4; ++i) {
        const std::string wav = dir / SliceFileName("Loop", i, 260, filetypes::kWave);
        const std::string flac = dir / SliceFileName("Loop", i, 260, filetypes::kFLAC);
        int wavFormat = 0, flacFormat = 0, wavRate = 0, flacRate = 0;
        const std::vector<short> expected = Decoded(wav, wavFormat, wavRate);
        EXPECT_EQ(Decoded(flac, flacFormat, flacRate), expected) << flac;
        EXPECT_EQ(flacFormat, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
        EXPECT_EQ(flacRate, 32000);
        if (i == 1) {
            EXPECT_EQ(expected.size(), 1u) << "the one-frame slice";
        }
        if (std::system("command -v sndfile-cmp >/dev/null") == 0) {
            EXPECT_EQ(std::system(("sndfile-cmp '" + wav + "' '" + flac + "' >/dev/null").c_str()), 0) << flac;
        }
    }
}

} // namespace
} // namespace quorvel
