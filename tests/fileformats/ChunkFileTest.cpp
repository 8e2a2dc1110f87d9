// Both generations of chunk readers and writers.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "fileformats/IFFReader.h"
#include "fileformats/IFFReader2.h"
#include "fileformats/IFFWriter.h"
#include "fileformats/IFFWriter2.h"

namespace quorvel {
namespace {

using namespace test;

Bytes Written(CMemoryMedia& media) { return Bytes(media.Data(), media.Data() + media.GetPosition()); }

TEST(IFFReader, SkipsOddChunksByTheirPadByte)
{
    for (const bool big : {true, false}) {
        const Bytes content = Chunk("ODD1", Bytes(5), big) + Chunk("WANT", Text("abcdef"), big);
        BytesMedia media(Group(big ? "FORM" : "RIFF", "TEST", content, big));
        CIFFReader aiff(media);
        RIFF_READER riff(media);
        CIFFReader& reader = big ? aiff : riff;
        uint8_t bytes[2];
        ASSERT_TRUE(reader.ReadChunk("WANT", bytes, 4, 2));
        EXPECT_EQ(bytes[0], 'e');
        uint32_t size = 0;
        EXPECT_FALSE(reader.FindChunk("NONE", size));
    }
    // Unpadded files need the pad flag cleared.
    BytesMedia unpadded(Group("FORM", "TEST", Chunk("ODD1", Bytes(5), true, false) + Chunk("WANT", Bytes(2))));
    CIFFReader reader(unpadded);
    uint32_t size = 0;
    EXPECT_FALSE(reader.FindChunk("WANT", size));
    reader.ClearPad();
    EXPECT_TRUE(reader.FindChunk("WANT", size));
}

TEST(IFFReader, GroupChecksAndTheLastEmptyChunk)
{
    uint32_t size = 0;
    BytesMedia riff(Group("RIFF", "WAVE", Chunk("fmt ", Bytes(16), false), false));
    BytesMedia form(Group("FORM", "AIFF", Chunk("COMM", Bytes(4)) + Chunk("LAST", {})));
    EXPECT_THROW(CAIFFReader(riff).FindChunk("fmt ", size), XBadFormat);
    EXPECT_THROW(CWaveReader(form).FindChunk("COMM", size), XBadFormat);
    // A header ending exactly at the end of the data is not examined.
    EXPECT_FALSE(CAIFFReader(form).FindChunk("LAST", size));
    BytesMedia tiny(Group("FORM", "AIFF", {}, true, 3));
    EXPECT_THROW(CAIFFReader(tiny).FindChunk("COMM", size), XBadFormat);
    // A group claiming more than the stream holds runs into its end.
    BytesMedia cut(Group("FORM", "AIFF", Chunk("COMM", Bytes(4)), true, 1000));
    EXPECT_THROW(CAIFFReader(cut).FindChunk("SSND", size), XRead);
}

TEST(IFFReader, SizesNearFourGigabytesEndTheWalk)
{
    // With 32-bit arithmetic p + size + 8 wraps back into the file, and the
    // walk loops forever or finds chunks that are not there.
    for (const uint32_t huge : {0xFFFFFFF8u, 0xFFFFFFF7u, 0xFFFFFFFFu, 0x7FFFFFF9u}) {
        for (const int64_t groupSize : {int64_t(-1), int64_t(0xFFFFFFFF)}) {
            const Bytes content = Chunk("BIG ", Bytes(4), true, true, huge) + Chunk("WANT", Bytes(4));
            BytesMedia media(Group("FORM", "AIFF", content, true, groupSize));
            uint32_t size = 0;
            EXPECT_FALSE(CAIFFReader(media).FindChunk("WANT", size)) << huge << " " << groupSize;
        }
    }
}

// Counts the reads a reader makes of its stream.
class CountingMedia : public BytesMedia {
public:
    using BytesMedia::BytesMedia;
    void Read(int32_t count, void* buffer) override
    {
        ++reads;
        BytesMedia::Read(count, buffer);
    }
    int reads = 0;
};

TEST(IFFReader, WalksTheChunksOnceInBlocks)
{
    // A file of many empty chunks: reading each header from the stream, once
    // per lookup, took seconds for a million of them.
    Bytes content;
    for (int i = 0; i < 100000; ++i)
        content += Chunk("junk", {});
    content += Chunk("WANT", Text("ab")) + Chunk("LAST", Bytes(2));
    CountingMedia media(Group("FORM", "AIFF", content));
    CAIFFReader reader(media);
    uint32_t size = 0;
    ASSERT_TRUE(reader.FindChunk("WANT", size));
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(media.ReadByte(), 'a') << "the media stands at the payload";
    EXPECT_FALSE(reader.FindChunk("NONE", size));
    EXPECT_TRUE(reader.FindChunk("LAST", size));
    EXPECT_TRUE(reader.FindChunk("junk", size));
    EXPECT_LT(media.reads, 40) << "800 KB of headers in 64 KB blocks, walked once";

    // Beyond the identifiers it keeps, the reader walks on for the rest.
    Bytes many;
    for (int i = 0; i < 300; ++i) {
        const char id[5] = {'x', char('0' + i / 100), char('0' + i / 10 % 10), char('0' + i % 10), 0};
        many += Chunk(id, Bytes(2));
    }
    many += Chunk("WANT", Bytes(4)) + Chunk("x000", Bytes(6)) + Chunk("END ", Bytes(2));
    BytesMedia crowded(Group("FORM", "AIFF", many));
    CAIFFReader walker(crowded);
    EXPECT_TRUE(walker.FindChunk("x299", size));
    EXPECT_TRUE(walker.FindChunk("WANT", size));
    EXPECT_EQ(size, 4u);
    EXPECT_TRUE(walker.FindChunk("x000", size));
    EXPECT_EQ(size, 2u) << "the first chunk of an identifier wins";
    EXPECT_FALSE(walker.FindChunk("NONE", size));
    EXPECT_TRUE(walker.FindChunk("END ", size));
}

TEST(IFFReader, TellsTheLastEmptyChunkApart)
{
    BytesMedia form(Group("FORM", "AIFF", Chunk("COMM", Bytes(4)) + Chunk("LAST", {})));
    EXPECT_TRUE(CAIFFReader(form).EndsWithEmptyChunk("LAST"));
    EXPECT_FALSE(CAIFFReader(form).EndsWithEmptyChunk("COMM"));
    BytesMedia filled(Group("FORM", "AIFF", Chunk("COMM", Bytes(4)) + Chunk("LAST", Bytes(2))));
    EXPECT_FALSE(CAIFFReader(filled).EndsWithEmptyChunk("LAST"));
}

TEST(IFFReader, ReadChunkNeverReadsIntoTheNextChunk)
{
    BytesMedia media(Group("FORM", "AIFF", Chunk("COMM", Bytes(10)) + Chunk("SSND", Bytes(40))));
    uint8_t buffer[18];
    EXPECT_THROW(CAIFFReader(media).ReadChunk("COMM", buffer, 18), XRead);
    EXPECT_THROW(CAIFFReader(media).ReadChunk("COMM", buffer, 4, 8), XRead);
    EXPECT_TRUE(CAIFFReader(media).ReadChunk("COMM", buffer, 2, 8));
}

TEST(IFFWriter, PatchesSizesWithoutPadding)
{
    CMemoryMedia media(64);
    {
        CWaveWriter writer(&media);
        writer.BeginGroup("RIFF", "WAVE");
        writer.WriteChunk("ABCD", "12345", 5);
        writer.BeginChunk("EFGH");
        EXPECT_THROW(writer.BeginChunk("IJKL"), XBase); // one chunk at a time
    } // destroyed unfinished
    EXPECT_EQ(Written(media), Group("RIFF", "WAVE", Chunk("ABCD", Text("12345"), false, false), false, 0xADDE1AB0) +
                                  Text("EFGH") + BE32(0xB01ADEAD));

    media.SetPosition(0);
    CAIFFWriter writer(&media);
    EXPECT_THROW(writer.EndChunk(), XBase); // nothing begun: no size to patch
    writer.BeginGroup("FORM", "AIFF");
    writer.WriteChunk("ABCD", "12345", 5);
    writer.EndGroup();
    EXPECT_EQ(Written(media), Group("FORM", "AIFF", Chunk("ABCD", Text("12345"), true, false)));
}

TEST(IFFWriter2, EndPadsOddPayloads)
{
    CMemoryMedia media(64);
    CIFFWriter2 writer(media, ByteOrder::Big);
    writer.End(writer.BeginChunk("ABCD"));
    const IFFChunkInfo chunk = writer.BeginChunk("EFGH");
    writer.Write(5, "12345");
    writer.End(chunk);
    EXPECT_EQ(Written(media), Chunk("ABCD", {}) + Chunk("EFGH", Text("12345")));
    EXPECT_EQ(media.GetPosition() % 2, 0);
}

// The preferences layout: a "CAT " group with chunks and a nested group.
Bytes NestedFile()
{
    CMemoryMedia media(256);
    CIFFWriter2 writer(media, ByteOrder::Big);
    const IFFChunkInfo cat = writer.BeginCat("PREF");
    {
        auto inside = writer.OpenOnChunk(cat);
        inside->WriteChunk("ONE ", 3, "abc");
        const IFFChunkInfo group = inside->BeginCat("ISRG");
        inside->End(group); // empty
        inside->WriteChunk("TWO ", 1, "q");
    }
    writer.End(cat);
    return Written(media);
}

TEST(IFFReader2, ReadsNestedGroups)
{
    const Bytes file = NestedFile();
    EXPECT_EQ(file, Group("CAT ", "PREF", Chunk("ONE ", Text("abc")) + Group("CAT ", "ISRG", {}) + Chunk("TWO ", Text("q"))));
    BytesMedia media(file);
    CIFFReader2 top(media, ByteOrder::Big);
    IFFChunkInfo pref, item;
    ASSERT_TRUE(top.FindGroup("PREF", pref));
    auto inside = top.OpenOnChunk(pref);
    ASSERT_TRUE(inside->FindChunk("TWO ", item));
    char two = 0;
    inside->ReadChunkData(item, &two, 1);
    EXPECT_EQ(two, 'q');
    uint8_t small[2];
    ASSERT_TRUE(inside->FindChunk("ONE ", item));
    EXPECT_THROW(inside->ReadChunkData(item, small, sizeof small), XBadFormat); // bounded by the caller's buffer

    // The window onto an empty group must not see the chunk after it.
    ASSERT_TRUE(inside->FindGroup("ISRG", item));
    EXPECT_FALSE(inside->OpenOnChunk(item)->FirstChunk(item));
}

TEST(IFFReader2, ValidationAndMalformedHeaders)
{
    const Bytes file = NestedFile();
    BytesMedia exact(file), longer(file + Bytes{0}), shorter(Bytes(file.begin(), file.end() - 1));
    EXPECT_TRUE(CIFFReader2::ValidateFile(exact, ByteOrder::Big));
    EXPECT_FALSE(CIFFReader2::ValidateFile(exact, ByteOrder::Little));
    EXPECT_FALSE(CIFFReader2::ValidateFile(longer, ByteOrder::Big));
    EXPECT_FALSE(CIFFReader2::ValidateFile(shorter, ByteOrder::Big));
    // A group size below 4 would wrap the payload size to almost 4 GB.
    BytesMedia wrapped(Group("CAT ", "PREF", {}, true, 2));
    EXPECT_FALSE(CIFFReader2::ValidateFile(wrapped, ByteOrder::Big));

    IFFChunkInfo item;
    BytesMedia beyond(Chunk("AAAA", Text("abc")) + Chunk("BBBB", Bytes(2), true, true, 0xFFFFFFF0));
    CIFFReader2 reader(beyond, ByteOrder::Big);
    EXPECT_THROW(reader.FindChunk("CCCC", item), XBadFormat);
    BytesMedia unpadded(Chunk("AAAA", Text("abc"), true, false));
    CIFFReader2 last(unpadded, ByteOrder::Big);
    ASSERT_TRUE(last.FirstChunk(item));
    EXPECT_THROW(last.NextChunk(item, item), XBadFormat);
    // "RIFF" is read as a plain chunk.
    BytesMedia riff(Group("RIFF", "sfbk", {}, false));
    ASSERT_TRUE(CIFFReader2(riff, ByteOrder::Little).FirstChunk(item));
    EXPECT_EQ(item.HeaderSize(), 8u);
}

TEST(RIFFWriter2, WritesLittleEndianGroups)
{
    CMemoryMedia media(64);
    CRIFFWriter2 writer(media);
    const IFFChunkInfo riff = writer.BeginRiff("sfbk");
    const IFFChunkInfo list = writer.BeginList("INFO");
    writer.WriteChunk("ifil", 4, "\x02\x00\x01\x00");
    writer.End(list);
    writer.End(riff);
    EXPECT_EQ(Written(media), Group("RIFF", "sfbk", Group("LIST", "INFO", Chunk("ifil", Bytes{2, 0, 1, 0}, false), false), false));
}

} // namespace
} // namespace quorvel
