// The groove MIDI file byte by byte, the writer's events, and the slice
// limit of the menu command.
#include <gtest/gtest.h>

#include "InstrumentExportFixtures.h"
#include "framework/GrowingMemoryMedia.h"
#include "fileformats/GrooveMIDIExport.h"
#include "fileformats/MIDIFileWriter.h"

namespace quorvel {
namespace {

using namespace test;

TEST(GrooveMIDI, OneBarOfFourSlicesAt120)
{
    TempFolder dir;
    const auto document = EvenlySliced(4, 22050); // one bar of 4/4 at 120 BPM
    ScriptedQuestions questions;
    questions.files = {CFileSpec(dir / "groove.mid")};
    ASSERT_EQ(ExportGrooveMIDICommand(MakeExportJob(*document), questions), ExportOutcome::Completed);

    Bytes notes;
    for (uint8_t key = 36; key < 40; ++key) // the status byte is repeated every time
        notes += Bytes{0x00, 0x90, key, 0x7F, 0x87, 0x40, 0x90, key, 0x00};
    const Bytes tempoTrack{0, 0xFF, 0x58, 4, 4, 2, 0x18, 0x08, 0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20, 0, 0xFF, 0x2F, 0};
    const Bytes expected = Text("MThd") + BE32(6) + Bytes{0, 1, 0, 2, 0x03, 0xC0} + Text("MTrk") + BE32(19) +
                           tempoTrack + Text("MTrk") + BE32(40) + notes + Bytes{0, 0xFF, 0x2F, 0};
    EXPECT_EQ(ReadBytes(dir / "groove.mid"), expected);
}

TEST(GrooveMIDI, WriterEvents)
{
    CGrowingMemoryMedia media;
    CMIDIFileWriter writer(&media, false);
    writer.BeginTrack();
    writer.TimeSignature(0, 6, 8);
    writer.Tempo(0, 40000000); // too slow for 24 bits: the slowest tempo, not a wrapped fast one
    writer.ChannelEvent(16384, 0xC0, 5, 99); // program change has one data byte
    writer.EndTrack();                       // adds the missing end of track at the last time
    const Bytes events{0, 0xFF, 0x58, 4, 6, 3, 0x18, 0x08, 0, 0xFF, 0x51, 3, 0xFF, 0xFF, 0xFF,
                       0x81, 0x80, 0x00, 0xC0, 5, 0, 0xFF, 0x2F, 0};
    EXPECT_EQ(media.Bytes(), Text("MTrk") + BE32(24) + events);
    EXPECT_THROW(writer.ChannelEvent(5, 0x90, 1, 1), XBase); // events must not go back in time
}

TEST(GrooveMIDI, MenuCommandAsksBeyond92Slices)
{
    ScriptedQuestions declined;
    declined.acceptLimit = false;
    EXPECT_EQ(ExportGrooveMIDICommand(MakeExportJob(*EvenlySliced(93, 480)), declined), ExportOutcome::Cancelled);
    ASSERT_EQ(declined.limits.size(), 1u);
    EXPECT_NE(declined.limits[0].text.find("Only the first 92 slices"), std::string::npos);
    EXPECT_TRUE(declined.fileQuestions.empty());

    ScriptedQuestions none; // exactly 92: no question
    EXPECT_EQ(ExportGrooveMIDICommand(MakeExportJob(*EvenlySliced(92, 480)), none), ExportOutcome::Cancelled);
    EXPECT_TRUE(none.limits.empty());
}

TEST(GrooveMIDI, HoldsAllKeysWithLongDeltas)
{
    // 128 notes with gaps between them: every delta but the first takes four bytes.
    const GrooveLoop loop{4, 4, 1 << 30, 120000, 0, 256000};
    std::vector<GrooveSpan> spans;
    for (int32_t i = 0; i < 128; ++i)
        spans.push_back({2 * i * 1000, (2 * i + 1) * 1000});
    const Bytes file = BuildGrooveMIDI(loop, spans, 0, 480);
    ASSERT_EQ(file.size(), 53u + 256 * 3 + 1 + 255 * 4);
    EXPECT_EQ(Bytes(file.end() - 11, file.end()), (Bytes{0x81, 0x80, 0x80, 0x00, 0x90, 0x7F, 0x00, 0, 0xFF, 0x2F, 0}));

    spans.push_back({0, 1});
    EXPECT_THROW(BuildGrooveMIDI(loop, spans, 0, 480), XBase); // no key above 127
}

} // namespace
} // namespace quorvel
