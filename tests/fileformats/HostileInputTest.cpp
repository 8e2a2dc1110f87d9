// Malformed and hostile files: each ends in its own failure (or a sound that
// keeps every invariant), never in a crash, a hang or a huge allocation.
#include <gtest/gtest.h>

#include <random>

#include "TestFiles.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/IFFReader2.h"
#include "fileformats/SoundImport.h"

namespace quorvel {
namespace {

using namespace test;

std::string Import(const Bytes& file, SoundFileKind kind)
{
    try {
        BytesMedia media(file);
        return LoadSound(media, kind, "hostile", ChannelMode::Mix)->Length() ? "loads" : "empty";
    } catch (const XUnsupportedFileType& e) {
        return "alert " + std::to_string(e.AlertNumber());
    } catch (const XBase& e) {
        return e.what();
    }
}

Bytes Cut(Bytes b, size_t size)
{
    b.resize(size);
    return b;
}

TEST(HostileInput, EachBadFileEndsInItsOwnFailure)
{
    const SoundFileKind A = SoundFileKind::AIFF, W = SoundFileKind::Wave;
    const std::vector<int16_t> ten(10, 1);
    const Bytes aiff = Aiff(1, ten), wave = Wave(1, ten);
    const Bytes ssnd = Chunk("SSND", Bytes(8) + BESamples(ten)), data = Chunk("data", LESamples(ten), false);
    const auto form = [](const Bytes& comm, const Bytes& rest) { return Group("FORM", "AIFF", Chunk("COMM", comm) + rest); };
    const auto riff = [](const Bytes& fmt, const Bytes& rest) {
        return Group("RIFF", "WAVE", Chunk("fmt ", fmt, false) + rest, false);
    };
    const Bytes comm10 = CommPayload(1, 10, 16, 44100), fmt16 = FmtPayload(1, 1, 44100, 16);
    const Bytes loopInst = Chunk("INST", InstPayload(60, 0, 1, 1, 2));
    const Bytes twoMarkers = MarkPayload({{1, 0, "a"}, {2, 5, "b"}});

    const struct {
        const char* name;
        SoundFileKind kind;
        Bytes file;
        const char* expected;
    } cases[] = {
        {"valid AIFF", A, aiff, "loads"},
        {"valid WAV", W, wave, "loads"},
        {"empty file", A, {}, "XRead"},
        {"header cut short", A, Cut(aiff, 6), "XRead"},
        {"samples cut short", A, Cut(aiff, aiff.size() - 3), "XRead"},
        {"WAV samples cut short", W, Cut(wave, wave.size() - 3), "XRead"},
        {"RIFF named as AIFF", A, wave, "XBadFormat"},
        {"group size below 4", A, Group("FORM", "AIFF", Chunk("COMM", comm10) + ssnd, true, 2), "XBadFormat"},
        {"no COMM", A, Group("FORM", "AIFF", ssnd), "XBadFormat"},
        {"short COMM", A, form(Bytes(10), ssnd), "XBadFormat"},
        {"no SSND", A, form(comm10, {}), "XBadFormat"},
        // The missing frame would otherwise come from the chunk after it.
        {"SSND shorter than its frames", A, form(CommPayload(1, 11, 16, 44100), ssnd + Chunk("ANNO", Bytes(40))),
         "XBadFormat"},
        {"SSND offset near 4 GB", A, form(CommPayload(1, 1, 16, 44100), Chunk("SSND", BE32(0xFFFFFFF0) + Bytes(6))),
         "XBadFormat"},
        {"chunk past the end before COMM", A,
         Group("FORM", "AIFF", Chunk("COMT", Bytes(4), true, true, 0xFFFFFF00) + Chunk("COMM", comm10) + ssnd),
         "XBadFormat"},
        {"odd chunk without pad before COMM", A,
         Group("FORM", "AIFF", Chunk("NAME", Text("abc"), true, false) + Chunk("COMM", comm10) + ssnd), "XBadFormat"},
        {"zero channels", A, form(CommPayload(0, 10, 16, 44100), ssnd), "XBadFormat"},
        {"zero rate", A, form(CommPayload(1, 10, 16, 0), ssnd), "XBadFormat"},
        {"negative rate", A, form(CommPayload(1, 10, 16, -44100), ssnd), "XBadFormat"},
        {"absurd rate", A, form(CommPayload(1, 10, 16, 1e300), ssnd), "XBadFormat"},
        {"negative frame count", A, form(CommPayload(1, 0x80000000u, 16, 44100), ssnd), "XBadFormat"},
        {"one hertz", A, form(CommPayload(1, 301, 16, 1), ssnd), "XUnsupportedFormat"},
        {"two billion frames", A, form(CommPayload(1, 0x7FFFFFFF, 16, 44100), ssnd), "alert 20"},
        {"24-bit AIFF", A, form(CommPayload(1, 10, 24, 44100), ssnd), "alert 21"},
        {"five channels", A, form(CommPayload(5, 2, 16, 44100), ssnd), "alert 22"},
        {"AIFC without compression type", A, Group("FORM", "AIFC", Chunk("COMM", comm10) + ssnd), "XBadFormat"},
        {"loop names a missing marker", A, Aiff(1, ten, {}, Chunk("INST", InstPayload(60, 0, 1, 1, 9)) +
                                                                Chunk("MARK", twoMarkers)),
         "XBadFormat"},
        {"65535 markers announced, 2 present", A,
         Aiff(1, ten, {}, loopInst + Chunk("MARK", BE16(0xFFFF) + Bytes(twoMarkers.begin() + 2, twoMarkers.end()))),
         "XBadFormat"},
        {"marker cut short", A, Aiff(1, ten, {}, loopInst + Chunk("MARK", Cut(twoMarkers, twoMarkers.size() - 4))),
         "XBadFormat"},
        {"no fmt", W, Group("RIFF", "WAVE", data, false), "XBadFormat"},
        {"fmt cut short", W, riff(Bytes(12), data), "XBadFormat"},
        {"8-bit WAV", W, riff(FmtPayload(1, 1, 44100, 8), data), "alert 21"},
        {"float WAV", W, riff(FmtPayload(3, 1, 44100, 32), data), "alert 21"},
        {"16-bit float WAV", W, riff(FmtPayload(3, 1, 44100, 16), data), "XUnsupportedFormat"},
        {"three channels", W, riff(FmtPayload(1, 3, 44100, 16), Chunk("data", Bytes(12), false)), "alert 22"},
        {"258 channels", W, riff(FmtPayload(1, 258, 44100, 16), Chunk("data", Bytes(516), false)), "alert 22"},
        {"zero WAV rate", W, riff(FmtPayload(1, 1, 0, 16), data), "XUnsupportedFormat"},
        {"WAV rate beyond 31 bits", W, riff(FmtPayload(1, 1, 0x80000000u, 16), data), "XUnsupportedFormat"},
        {"48-bit WAV", W, riff(FmtPayload(1, 1, 44100, 48), data), "XUnsupportedFormat"},
        {"data past the end", W, riff(fmt16, Chunk("data", LESamples(ten), false, true, 40)), "XRead"},
        {"data size near 4 GB", W, riff(fmt16, Chunk("data", LESamples(ten), false, true, 0xFFFFFFFE)), "alert 20"},
        // Samples that a damaged chunk hides make a damaged file, never an
        // empty sound.
        {"chunk near 4 GB before data", W, riff(fmt16, Chunk("junk", Bytes(4), false, true, 0xFFFFFFF4) + data),
         "XBadFormat"},
        {"odd chunk without pad before data", W, riff(fmt16, Chunk("LIST", Text("abc"), false, false) + data),
         "XBadFormat"},
        {"chunk past the end of the file before data", W,
         riff(fmt16, Chunk("LIST", Text("INFO"), false, true, 400) + data), "XBadFormat"},
        {"fmt claiming the data as its own", W,
         riff(FmtPayload(1, 1, 44100, 16) + data, {}), "XBadFormat"},
        {"oversized fmt past the end", W, Group("RIFF", "WAVE", Chunk("fmt ", fmt16, false, true, 4000) + data, false),
         "XBadFormat"},
        {"empty LIST chunks and no data", W, riff(fmt16, Chunk("LIST", {}, false) + Chunk("LIST", {}, false)),
         "XBadFormat"},
        {"empty LIST chunks before data", W, riff(fmt16, Chunk("LIST", {}, false) + Chunk("LIST", {}, false) + data),
         "loads"},
        {"empty data chunk last", W, riff(fmt16, Chunk("data", {}, false)), "empty"},
        {"data last, junk after the group", W, riff(fmt16, data) + Bytes(7, 0xEE), "loads"},
        // Rates outside 1 kHz to 768 kHz would overflow what is computed
        // from them (bytes per second, lengths) or make no sense to slice.
        {"999 Hz WAV", W, riff(FmtPayload(1, 1, 999, 16), data), "XUnsupportedFormat"},
        {"1000 Hz WAV", W, riff(FmtPayload(1, 1, 1000, 16), data), "loads"},
        {"768000 Hz WAV", W, riff(FmtPayload(1, 2, 768000, 16), data), "loads"},
        {"768001 Hz WAV", W, riff(FmtPayload(1, 1, 768001, 16), data), "XUnsupportedFormat"},
        {"2147483647 Hz WAV", W, riff(FmtPayload(1, 1, 0x7FFFFFFF, 16), data), "XUnsupportedFormat"},
        {"2147483647 Hz AIFF", A, form(CommPayload(1, 10, 16, 2147483647.0), ssnd), "XUnsupportedFormat"},
        {"768001 Hz AIFF", A, form(CommPayload(1, 10, 16, 768001), ssnd), "XUnsupportedFormat"},
        {"768000 Hz AIFF", A, form(CommPayload(1, 10, 16, 768000), ssnd), "loads"},
        {"999 Hz AIFF", A, form(CommPayload(1, 10, 16, 999), ssnd), "XUnsupportedFormat"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Import(c.file, c.kind), c.expected) << c.name;
}

void Mutate(Bytes& file, std::mt19937& random)
{
    static const uint8_t kInteresting[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
    for (int i = 0, edits = 1 + int(random() % 6); i < edits && !file.empty(); ++i) {
        const size_t at = random() % file.size();
        switch (random() % 4) {
        case 0: file[at] = kInteresting[random() % sizeof kInteresting]; break;
        case 1: file[at] = static_cast<uint8_t>(random()); break;
        case 2: file[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
        default: file.resize(at); break;
        }
    }
}

TEST(HostileInput, MutatedFilesNeverCrash)
{
    std::vector<int16_t> samples(3000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(i * 7919);
    const Bytes after = Chunk("INST", InstPayload(60, 0, 1, 1, 2)) + Chunk("MARK", MarkPayload({{1, 100, "s"}, {2, 900, "e"}}));
    const std::pair<SoundFileKind, Bytes> seeds[] = {
        {SoundFileKind::AIFF, Aiff(2, samples, Chunk("NAME", Text("odd")), after)},
        {SoundFileKind::Wave, Wave(2, samples, Chunk("LIST", Text("INFOx"), false))},
        {SoundFileKind::AIFF, Group("CAT ", "PREF", Chunk("ONE ", Text("abc")) + Group("LIST", "ISRG", Chunk("TWO ", Bytes(4))))},
    };
    std::mt19937 random(12345);
    int loaded = 0;
    for (int round = 0; round < 6000; ++round) {
        const auto& [kind, seed] = seeds[round % 3];
        Bytes file = seed;
        Mutate(file, random);
        BytesMedia media(file);
        try {
            if (round % 3 == 2) { // the chunk walker on nested groups
                CIFFReader2 reader(media, ByteOrder::Big);
                IFFChunkInfo item;
                if (CIFFReader2::ValidateFile(media, ByteOrder::Big) && reader.FirstChunk(item))
                    for (auto inner = reader.OpenOnChunk(item); inner->FirstChunk(item) && inner->NextChunk(item, item);)
                        break;
                continue;
            }
            const auto sound = LoadSound(media, kind, "mutant", static_cast<ChannelMode>(round % 3));
            ASSERT_LE(sound->Length(), 13230000);
            ASSERT_GT(sound->SampleRate(), 0);
            ASSERT_TRUE(0 <= sound->LoopStart() && sound->LoopStart() <= sound->LoopEnd() &&
                        sound->LoopEnd() <= sound->Length());
            ++loaded;
        } catch (const XBase&) {
        }
    }
    EXPECT_GT(loaded, 100); // the mutations do not only make garbage
}

} // namespace
} // namespace quorvel
