// The Mixman track file byte for byte, its groove events, the header total,
// and the metre it needs.
#include <gtest/gtest.h>
#include <fcntl.h>

#include <bit>
#include <cstring>

#include "InstrumentExportFixtures.h"
#include "fileformats/MixmanExport.h"
#include "framework/OpenFile.h"

namespace quorvel {
namespace {

using namespace test;

Bytes Double(double v)
{
    const auto bits = std::bit_cast<uint64_t>(v);
    return LE32(uint32_t(bits)) + LE32(uint32_t(bits >> 32));
}

Bytes Repeat(const Bytes& item, int times)
{
    Bytes out;
    for (int i = 0; i < times; ++i)
        out += item;
    return out;
}

Bytes ExportTrack(const CSoundDocument& document, const TempFolder& dir, const std::string& name)
{
    CExportJob job = MakeExportJob(document);
    ScriptedQuestions questions;
    questions.files = {CFileSpec(dir / "Loop.trk")};
    CExportProgress progress;
    EXPECT_EQ(ExportMixmanTrack(job, name, questions, progress), ExportOutcome::Completed);
    return ReadBytes(dir / "Loop.trk");
}

// The slice record as the format lays it out, for audio of s bytes.
Bytes SliceRecord(uint8_t i, const Bytes& audio)
{
    const auto s = uint32_t(audio.size());
    Bytes block5(256);
    auto put = [&](size_t at, const Bytes& b) { std::copy(b.begin(), b.end(), block5.begin() + long(at)); };
    put(16, LE32(s));
    put(48, {0xFF, 0x7F, 0xFF, 0x7F});
    put(56, LE32(44100));
    put(60, LE32(16));
    put(64, LE32(1));
    put(72, {0xFF, 0x7F, 0xFF, 0x7F});
    const Bytes text = Text("TFW") + Bytes(77);
    return LE32(s + 1644) + LE32(44100) + Bytes{0xFF, 0xFF, 0x3F, 0x00, 0x00, 0x3F, 0x63, i, i} +
           Bytes{0x63, 0x63, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3C, 0x00, 0x00, 0x0A, 0x00, 0x00} + text + text + block5 +
           Text("RIFF") + LE32(s + 36) + Text("WAVE") + Text("fmt ") + LE32(16) + LE16(1) + LE16(1) + LE32(44100) +
           LE32(88200) + LE16(2) + LE16(16) + Text("data") + LE32(s) + audio + Bytes(1344);
}

Bytes AudioOf(const CSoundDocument& document, int32_t from, int32_t to)
{
    Bytes audio;
    for (int32_t i = from; i < to; ++i)
        audio += LE16(uint16_t(document.Sound()->Value(i)));
    return audio;
}

TEST(MixmanExport, OneSliceFileByteForByte)
{
    TempFolder dir;
    const auto document = EvenlySliced(1, 88200); // one bar of 4/4 at 120 BPM
    const Bytes file = ExportTrack(*document, dir, "Loop");

    const Bytes audio = AudioOf(*document, 0, 88200);
    const Bytes groove{0x00, 0x90, 0x00, 0x7F, 0x8F, 0x00, 0x80, 0x00, 0x64}; // on at 0, off at 1920
    const Bytes expected =
        LE16(8) + LE32(uint32_t(audio.size()) + 8192) + LE16(0) + Double(120.0) + LE16(16) + LE16(44100) +
        Bytes{100, 63} + LE16(0) + LE16(0) + LE16(50) + LE32(0) + LE32(1) + LE32(0) + LE32(0) + LE32(0) +
        Repeat(Double(0.0), 4) +
        Bytes{0x00, 0x04, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
              0xE0, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x01} +
        Bytes{0x00, 0x04, 0x00, 0x04, 0x00, 0x00} + LE32(9 + 4) + Bytes{0x00, 0x00, 0x01, 0x00, 0xE0, 0x01} + BE32(9) +
        groove + Bytes{0x00, 0x01} + LE32(1920) + Bytes{0x01, 0x00, 0x00, 0x01, 0x01} +
        Bytes{4} + Text("Loop") + LE16(0) + LE16(1) + LE16(0) + LE16(0) + LE16(0) + Bytes(16) + Bytes(32) +
        Repeat(Double(1.0), 253) + Repeat(Double(0.0), 3) + Bytes(48) + LE16(2) +
        Bytes{1, 0x00, 0xFF, 0xFF, 0x09, 0x00, 0x07, 0x00} + Text("CSample") + SliceRecord(0, audio) + Bytes{0};
    ASSERT_EQ(file.size(), expected.size());
    EXPECT_TRUE(file == expected);
}

TEST(MixmanExport, SlicesSeparatorsAndTotal)
{
    TempFolder dir;
    const auto document = EvenlySliced(2, 44100);
    const Bytes file = ExportTrack(*document, dir, "Two");
    const Bytes first = SliceRecord(0, AudioOf(*document, 0, 44100));
    const Bytes second = SliceRecord(1, AudioOf(*document, 44100, 88200));
    const Bytes tail = first + Bytes{0x01, 0x80} + second + Bytes{0};
    ASSERT_GT(file.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), file.end() - long(tail.size())));
    EXPECT_EQ(file[file.size() - tail.size() - 15], 2); // block 3 starts with the slice count
    EXPECT_EQ(GetLE32(&file[2]), 2u * (88200 + 8192));

    // Absolute times, explicit note-offs.
    const Bytes groove{0x00, 0x90, 0x00, 0x7F, 0x87, 0x40, 0x80, 0x00, 0x64,
                       0x87, 0x40, 0x90, 0x01, 0x7F, 0x8F, 0x00, 0x80, 0x01, 0x64};
    EXPECT_EQ(GetBE32(&file[80 + 27 + 16]), groove.size());
    EXPECT_TRUE(std::equal(groove.begin(), groove.end(), file.begin() + 80 + 27 + 20));
}

TEST(MixmanExport, OnlyFourFour)
{
    StoredDocumentSettings waltz;
    waltz.numerator = 3;
    EXPECT_FALSE(MixmanExportAllowed(MakeExportJob(*SlicedDocument({0}, 1000, 44100, waltz))));
    EXPECT_TRUE(MixmanExportAllowed(MakeExportJob(*SlicedDocument({0}, 1000))));
}

TEST(MixmanExport, AFullDiskIsToldApart)
{
    const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        GTEST_SKIP() << "needs /dev/full";
    COpenFile full(fd);
    const uint8_t byte = 0;
    EXPECT_THROW(full.Write(1, &byte), XDiskFull); // the export shows alert 93 for it, not 16
}

} // namespace
} // namespace quorvel
