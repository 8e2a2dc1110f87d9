// Loading sounds from hand-built files: channel modes, layouts, key and
// loop data, file types.
#include <gtest/gtest.h>

#include "../common/TempFolder.h"
#include "TestFiles.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/SoundImport.h"

namespace quorvel {
namespace {

using namespace test;
using Values = std::vector<int16_t>;

Values ValuesOf(const WAVE_SAMPLE& sound)
{
    Values values;
    for (int32_t i = 0; i < sound.Length(); ++i)
        values.push_back(sound.Value(i));
    return values;
}

std::unique_ptr<WAVE_SAMPLE> Load(const Bytes& file, SoundFileKind kind, ChannelMode mode = ChannelMode::Left)
{
    BytesMedia media(file);
    return LoadSound(media, kind, "loop.aif", mode);
}

TEST(SoundImport, ChannelModes)
{
    const Values stereo{100, -7, 32767, 1, -32768, -2, 5, 32767};
    for (const SoundFileKind kind : {SoundFileKind::AIFF, SoundFileKind::Wave}) {
        const Bytes file = kind == SoundFileKind::AIFF ? Aiff(2, stereo) : Wave(2, stereo);
        EXPECT_EQ(ValuesOf(*Load(file, kind, ChannelMode::Left)), (Values{100, 32767, -32768, 5}));
        EXPECT_EQ(ValuesOf(*Load(file, kind, ChannelMode::Right)), (Values{-7, 1, -2, 32767}));
        // The sums clip (peak 32772): every value is scaled by
        // 0x3FFF8000 / 32772 = 32763 / 32768 before summing.
        const auto s = [](int v) { return int16_t((v * 32763) >> 15); };
        EXPECT_EQ(ValuesOf(*Load(file, kind, ChannelMode::Mix)),
                  (Values{int16_t(s(100) + s(-7)), int16_t(s(32767) + s(1)), int16_t(s(-32768) + s(-2)),
                          int16_t(s(5) + s(32767))}));
    }
    // A mono file loads its one channel whatever the choice.
    for (const ChannelMode mode : {ChannelMode::Right, ChannelMode::Mix})
        EXPECT_EQ(ValuesOf(*Load(Wave(1, {1, -2, 3}), SoundFileKind::Wave, mode)), (Values{1, -2, 3}));
}

TEST(SoundImport, FindsSamplesBehindOtherChunksAndTheOffset)
{
    const Values mono{11, 22, 33};
    EXPECT_EQ(ValuesOf(*Load(Aiff(1, mono, Chunk("NAME", Text("odd")) + Chunk("ANNO", Text("x"))), SoundFileKind::AIFF)),
              mono);
    const Bytes ssnd = BE32(6) + BE32(0) + Bytes(6, 0xEE) + BESamples(mono);
    const Bytes file = Group("FORM", "AIFF", Chunk("COMM", CommPayload(1, 3, 16, 22050)) + Chunk("SSND", ssnd));
    const auto sound = Load(file, SoundFileKind::AIFF);
    EXPECT_EQ(ValuesOf(*sound), mono);
    EXPECT_EQ(sound->SampleRate(), 22050);
    EXPECT_EQ(std::string(sound->Name()), "loop.aif");
    EXPECT_FALSE(sound->HasInstrumentData());
}

std::unique_ptr<WAVE_SAMPLE> LoadWithInstrument(const Bytes& inst, const std::vector<Marker>& markers)
{
    Bytes after = Chunk("INST", inst);
    if (!markers.empty())
        after += Chunk("MARK", MarkPayload(markers));
    return Load(Aiff(1, Values(100, 0), {}, after), SoundFileKind::AIFF);
}

std::string LoopOf(const WAVE_SAMPLE& s)
{
    return std::to_string(s.LoopStart()) + ".." + std::to_string(s.LoopEnd()) + (s.LoopOn() ? " on" : " off");
}

TEST(SoundImport, KeyAndLoopFromInstrumentAndMarkers)
{
    auto sound = LoadWithInstrument(InstPayload(48, -12, 1, 1, 2), {{1, 10, "Loop start"}, {2, 60, "Loop end"}});
    EXPECT_TRUE(sound->HasInstrumentData());
    EXPECT_EQ(sound->RootKey(), 48);
    EXPECT_EQ(sound->FineTune(), -12);
    EXPECT_EQ(LoopOf(*sound), "10..60 on");

    // Base note 0 means "not set"; play mode 0 keeps the locators, loop off.
    sound = LoadWithInstrument(InstPayload(0, 30, 0, 2, 1), {{1, 70, ""}, {2, 20, "a"}});
    EXPECT_EQ(sound->RootKey(), 60);
    EXPECT_EQ(sound->FineTune(), 0);
    EXPECT_EQ(LoopOf(*sound), "20..70 off");

    // Markers outside the sound are clamped and switch the loop off.
    EXPECT_EQ(LoopOf(*LoadWithInstrument(InstPayload(60, 0, 1, 1, 2), {{1, 10, "s"}, {2, 500, "e"}})), "10..100 off");
    EXPECT_EQ(LoopOf(*LoadWithInstrument(InstPayload(60, 0, 1, 1, 2), {{1, -5, "s"}, {2, 50, "e"}})), "0..50 off");
    // One marker: the default loop stays.
    EXPECT_EQ(LoopOf(*LoadWithInstrument(InstPayload(60, 0, 1, 1, 2), {{1, 10, "s"}})), "0..100 off");
}

TEST(SoundImport, MarkersTheLoopNames)
{
    // A sustain loop naming a marker that is not there.
    EXPECT_THROW(LoadWithInstrument(InstPayload(60, 0, 1, 1, 3), {{1, 10, "s"}, {2, 20, "e"}}), XBadFormat);
    // Without a sustain loop the ids mean nothing (often 0): the file opens.
    EXPECT_EQ(LoopOf(*LoadWithInstrument(InstPayload(60, 0, 0, 0, 0), {{1, 10, "a"}, {2, 20, "b"}})), "0..100 off");
    EXPECT_THROW(LoadWithInstrument(Bytes(12), {}), XBadFormat);
}

TEST(SoundImport, FileTypesDecideTheReader)
{
    TempFolder dir;
    for (const char* name : {"b.AIFF", "c.qvl", "d.wav", "e.qlx", "f.txt"})
        WriteBytes(dir / name, Aiff(1, {1, 2, 3}));
    auto sound = LoadSound(CFileSpec(dir / "b.AIFF"), ChannelMode::Mix);
    EXPECT_EQ(std::string(sound->Name()), "b.AIFF");
    EXPECT_EQ(sound->Length(), 3);
    EXPECT_EQ(LoadSound(CFileSpec(dir / "c.qvl"), ChannelMode::Left)->Length(), 3); // documents are AIFF
    EXPECT_THROW(LoadSound(CFileSpec(dir / "d.wav"), ChannelMode::Left), XBadFormat);
    EXPECT_THROW(ReadSoundInfo(CFileSpec(dir / "e.qlx")), XQLXUnsupportedFileType);
    EXPECT_THROW(ReadSoundInfo(CFileSpec(dir / "f.txt")), XUnknownFileType);
    EXPECT_THROW(LoadSound(CFileSpec(dir / "missing.aif"), ChannelMode::Left), XCreateFailed);
}

} // namespace
} // namespace quorvel
