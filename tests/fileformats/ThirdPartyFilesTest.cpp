// Files written by sox and libsndfile import to exactly the samples sox
// reads from them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "../common/TempFolder.h"
#include "TestFiles.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/SoundImport.h"

namespace quorvel {
namespace {

using namespace test;

void Shell(const std::string& command) { ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command; }

class ThirdPartyFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::access("/usr/bin/sox", X_OK) != 0 || ::access("/usr/bin/sndfile-convert", X_OK) != 0)
            GTEST_SKIP() << "needs sox and sndfile-convert";
        // Two tones, quiet enough that their sum never clips, long enough to
        // span several import blocks.
        Shell("sox -D -R -n -r 44100 -c 2 -b 16 " + Path("stereo.aiff") + " synth 0.6 sine 440 sine 1250 vol 0.45");
    }

    std::string Path(const std::string& name) const { return dir_ / name; }

    // What sox reads from a file through `remix`, as signed 16-bit.
    std::vector<int16_t> SoxReads(const std::string& path, const std::string& remix)
    {
        Shell("sox -D " + path + " -t raw -e signed-integer -b 16 -L " + Path("ref.raw") + " remix " + remix);
        const Bytes raw = ReadBytes(Path("ref.raw"));
        std::vector<int16_t> samples(raw.size() / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
        return samples;
    }

    static std::vector<int16_t> Import(const std::string& path, ChannelMode mode)
    {
        const auto sound = LoadSound(CFileSpec(path), mode);
        std::vector<int16_t> values;
        for (int32_t i = 0; i < sound->Length(); ++i)
            values.push_back(sound->Value(i));
        return values;
    }

    void ExpectSameAsSox(const std::string& name)
    {
        const std::string path = Path(name);
        EXPECT_EQ(Import(path, ChannelMode::Left), SoxReads(path, "1")) << name;
        EXPECT_EQ(Import(path, ChannelMode::Right), SoxReads(path, "2")) << name;
        EXPECT_EQ(Import(path, ChannelMode::Mix), SoxReads(path, "1v1,2v1")) << name;
    }

    int Refusal(const std::string& name)
    {
        try {
            LoadSound(CFileSpec(Path(name)), ChannelMode::Mix);
            return 0;
        } catch (const XUnsupportedFileType& e) {
            return e.AlertNumber();
        } catch (const XUnsupportedFormat&) {
            return -1;
        }
    }

    TempFolder dir_;
};

TEST_F(ThirdPartyFiles, AiffAndAifc)
{
    ExpectSameAsSox("stereo.aiff"); // sox writes a "COMT" chunk first
    Shell("sox " + Path("stereo.aiff") + " -e signed-integer " + Path("none.aifc"));
    ::rename(Path("none.aifc").c_str(), Path("none.aif").c_str());
    ASSERT_EQ(ReadBytes(Path("none.aif"))[11], 'C'); // really AIFF-C, compression "NONE"
    ExpectSameAsSox("none.aif");
    Shell("sndfile-convert -endian=little " + Path("stereo.aiff") + " " + Path("sowt.aif"));
    ExpectSameAsSox("sowt.aif");
    Shell("sox " + Path("stereo.aiff") + " -c 1 " + Path("mono.aif"));
    EXPECT_EQ(Import(Path("mono.aif"), ChannelMode::Right), SoxReads(Path("mono.aif"), "1"));
}

TEST_F(ThirdPartyFiles, WaveWithExtraChunksAndExtensibleFormat)
{
    Shell("sox " + Path("stereo.aiff") + " " + Path("plain.wav"));
    ExpectSameAsSox("plain.wav");

    // sox writes "fmt " then "data": add a LIST chunk and an odd-sized chunk
    // (each with its pad byte) in between, and check sox agrees on the result.
    const Bytes plain = ReadBytes(Path("plain.wav"));
    ASSERT_EQ(std::string(plain.begin() + 36, plain.begin() + 40), "data");
    const Bytes fmt(plain.begin() + 12, plain.begin() + 36), data(plain.begin() + 36, plain.end());
    const Bytes list = Text("INFOISFT") + LE32(5) + Text("Test") + Bytes{0};
    WriteBytes(Path("chunks.wav"),
               Group("RIFF", "WAVE", fmt + Chunk("LIST", list, false) + Chunk("odd ", Text("12345"), false) + data, false));
    ExpectSameAsSox("chunks.wav");

    WriteBytes(Path("extensible.wav"), Group("RIFF", "WAVE", Chunk("fmt ", ExtensibleFmt(2, 16, 1), false) + data, false));
    ExpectSameAsSox("extensible.wav");

    // Metadata after the samples, and bytes after the group that no chunk
    // claims: the samples are all there.
    WriteBytes(Path("after.wav"), Group("RIFF", "WAVE", fmt + data + Chunk("LIST", list, false), false) + Bytes(5, 0x77));
    ExpectSameAsSox("after.wav");
    Shell("sndfile-convert " + Path("stereo.aiff") + " " + Path("sndfile.wav"));
    ExpectSameAsSox("sndfile.wav");
    // sox writes an empty sound as a "data" chunk of size 0 at the very end.
    Shell("sox -n -r 44100 -c 1 -b 16 " + Path("empty.wav") + " trim 0 0");
    EXPECT_TRUE(Import(Path("empty.wav"), ChannelMode::Left).empty());
}

TEST_F(ThirdPartyFiles, DamagedChunksInARealWaveAreRefused)
{
    Shell("sox " + Path("stereo.aiff") + " " + Path("plain.wav"));
    const Bytes plain = ReadBytes(Path("plain.wav"));
    const Bytes fmt(plain.begin() + 12, plain.begin() + 36), data(plain.begin() + 36, plain.end());
    const auto refused = [&](const std::string& name, const Bytes& file) {
        WriteBytes(Path(name), file);
        EXPECT_THROW(LoadSound(CFileSpec(Path(name)), ChannelMode::Mix), XBadFormat) << name;
    };
    refused("nopad.wav", Group("RIFF", "WAVE", fmt + Chunk("odd ", Text("12345"), false, false) + data, false));
    refused("pastend.wav", Group("RIFF", "WAVE", fmt + Chunk("LIST", Text("INFO"), false, true, 1 << 20) + data, false));
    Bytes bigFmt = fmt;
    bigFmt[4] = 16 + 8; // "fmt " claims the "data" header as its own
    refused("bigfmt.wav", Group("RIFF", "WAVE", bigFmt + data, false));
}

TEST_F(ThirdPartyFiles, FormatsOutsideTheLimitsAreRefused)
{
    const std::string source = Path("stereo.aiff");
    Shell("sox " + source + " -b 24 " + Path("24bit.wav"));
    Shell("sox " + source + " -b 8 " + Path("8bit.wav"));
    Shell("sox " + source + " -e floating-point " + Path("float.wav"));
    Shell("sox " + source + " " + Path("three.wav") + " remix 1 2 1");
    Shell("sox " + source + " -b 24 " + Path("24bit.aif"));
    Shell("sndfile-convert -ulaw " + source + " " + Path("ulaw.aif"));
    Shell("sox -n -r 8000 -c 1 -b 16 " + Path("long.wav") + " synth 301 sine 100");
    EXPECT_EQ(Refusal("24bit.wav"), XUnsupportedFileType::kNot16Bit);
    EXPECT_EQ(Refusal("8bit.wav"), XUnsupportedFileType::kNot16Bit);
    EXPECT_EQ(Refusal("float.wav"), XUnsupportedFileType::kNot16Bit);
    EXPECT_EQ(Refusal("three.wav"), XUnsupportedFileType::kTooManyChannels);
    EXPECT_EQ(Refusal("24bit.aif"), XUnsupportedFileType::kNot16Bit);
    EXPECT_NE(Refusal("ulaw.aif"), 0);
    EXPECT_EQ(Refusal("long.wav"), XUnsupportedFileType::kTooLong);
}

} // namespace
} // namespace quorvel
