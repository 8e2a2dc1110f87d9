// File-type recognition, format reading, import limits and preview rules.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "fileformats/AIFFInfo.h"
#include "fileformats/FileTypes.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/ImportLimits.h"
#include "fileformats/WaveFormat.h"

namespace quorvel {
namespace {

using namespace test;

TEST(FileTypes, MatchExtensionsIgnoringCase)
{
    using namespace filetypes;
    EXPECT_EQ(All().size(), 13u);
    EXPECT_TRUE(FileTypeMatches(kAIFF, "LOOP.AIF"));
    EXPECT_TRUE(FileTypeMatches(kWave, "take 2.Wave"));
    EXPECT_FALSE(FileTypeMatches(kAIFF, "loop.ai")); // a prefix of ".aif" is not ".aif"
    EXPECT_EQ(FindFileType("x.backup-aiff"), nullptr);
    EXPECT_EQ(FindFileType("Groove.qlx"), &kQLX);
    EXPECT_EQ(FindFileType("song.TRK"), &kMixman);
    // Only the file's own name counts, not dots in its folders.
    EXPECT_EQ(FindFileType("/home/me/loops.wav/readme"), nullptr);
    EXPECT_EQ(FirstExtension(kAIFF), ".aif");
}

SoundFileInfo AifcInfo(const char* compression)
{
    const Bytes comm = CommPayload(2, 100, 16, 44100) + Text(compression) + Bytes{0, 0};
    BytesMedia media(Group("FORM", "AIFC", Chunk("COMM", comm)));
    return ReadAIFFInfo(media);
}

TEST(AIFFInfo, CompressedDataIsOnlySupportedWhenLinear)
{
    EXPECT_TRUE(AifcInfo("NONE").supported);
    EXPECT_TRUE(AifcInfo("twos").supported);
    EXPECT_TRUE(AifcInfo("sowt").supported);
    EXPECT_TRUE(AifcInfo("sowt").littleEndian);
    // Writers label some compressed data with 16 bits; read as linear
    // samples it would load as noise.
    EXPECT_FALSE(AifcInfo("ulaw").supported);
    EXPECT_FALSE(AifcInfo("ima4").supported);
    BytesMedia plain(Group("FORM", "AIFF", Chunk("COMM", CommPayload(1, 10, 16, 22050.9))));
    const SoundFileInfo info = ReadAIFFInfo(plain);
    EXPECT_EQ(info.rate, 22050u);
    EXPECT_TRUE(info.supported);
    EXPECT_FALSE(info.littleEndian);
}

SoundFileInfo WaveInfo(const Bytes& fmt, size_t dataBytes = 400)
{
    BytesMedia media(Group("RIFF", "WAVE", Chunk("fmt ", fmt, false) + Chunk("data", Bytes(dataBytes), false), false));
    return ReadWaveInfo(media);
}

TEST(WaveInfo, FramesAndSupport)
{
    const SoundFileInfo info = WaveInfo(FmtPayload(1, 2, 48000, 16));
    EXPECT_EQ(info.frames, 100u);
    EXPECT_EQ(info.rate, 48000u);
    EXPECT_TRUE(info.supported);
    EXPECT_EQ(WaveInfo(FmtPayload(1, 1, 44100, 24), 300).frames, 100u);
    EXPECT_FALSE(WaveInfo(FmtPayload(3, 1, 44100, 16)).supported); // float
    EXPECT_TRUE(WaveInfo(ExtensibleFmt(2, 16, 1)).supported);      // extensible PCM
    EXPECT_FALSE(WaveInfo(ExtensibleFmt(2, 16, 3)).supported);     // extensible float
    Bytes cut = ExtensibleFmt(2, 16, 1);
    cut.resize(18); // extension missing
    EXPECT_FALSE(WaveInfo(cut).supported);
}

SoundFileInfo Info(uint32_t frames, uint32_t rate = 44100, uint16_t bits = 16, uint16_t channels = 1)
{
    SoundFileInfo info;
    info.frames = frames;
    info.rate = rate;
    info.bits = bits;
    info.channels = channels;
    return info;
}

TEST(ImportLimits, RefuseInOrderWithTheirAlert)
{
    EXPECT_EQ(ImportLimitAlert(Info(13230000)), 0);
    EXPECT_EQ(ImportLimitAlert(Info(13230001)), 20);
    EXPECT_EQ(ImportLimitAlert(Info(14000000, 48000)), 20); // absolute limit, though under 300 s
    EXPECT_EQ(ImportLimitAlert(Info(8000 * 300 + 1, 8000)), 20);
    EXPECT_EQ(ImportLimitAlert(Info(1000, 20000000)), 0); // rate x 300 exceeds 32 bits
    EXPECT_EQ(ImportLimitAlert(Info(13230001, 44100, 24, 6)), 20);
    EXPECT_EQ(ImportLimitAlert(Info(100, 44100, 24, 6)), 21);
    EXPECT_EQ(ImportLimitAlert(Info(100, 44100, 16, 258)), 22); // must not wrap to stereo
    try {
        CheckImportLimits(Info(100, 44100, 8));
        ADD_FAILURE() << "8-bit file accepted";
    } catch (const XUnsupportedFileType& e) {
        EXPECT_EQ(e.AlertNumber(), XUnsupportedFileType::kNot16Bit);
    }
    EXPECT_EQ(FileAlertText(20), "Sound files may not be longer than 5 minutes.");
    EXPECT_EQ(FileAlertText(21), "Quorvel! only supports 16-bit audio files.");
    EXPECT_EQ(FileAlertText(22), "Quorvel! only supports Mono and Stereo sound files.");
    EXPECT_EQ(FileAlertText(23), "Auto-play is limited to 30-second files.");
}

TEST(Preview, AutoPlayLimitAndLengthText)
{
    EXPECT_TRUE(AutoPlayAllowed(Info(44100 * 30)));
    EXPECT_FALSE(AutoPlayAllowed(Info(44100 * 30 + 1)));
    EXPECT_EQ(FormatSoundLength(22050, 44100), "0.50 s");
    EXPECT_EQ(FormatSoundLength(44100 * 59 + 43000, 44100), "59.98 s");
    EXPECT_EQ(FormatSoundLength(48000 * 125 + 24000, 48000), "2 m, 5.50 s");
    // Just under a whole minute rounds up to it, never "60.00 s".
    EXPECT_EQ(FormatSoundLength(44100 * 60 - 10, 44100), "1 m, 0.00 s");
    EXPECT_EQ(FormatSoundLength(44100 * 120 - 10, 44100), "2 m, 0.00 s");
}

} // namespace
} // namespace quorvel
