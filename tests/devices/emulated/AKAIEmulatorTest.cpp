#include <gtest/gtest.h>

#include <sstream>

#include "AKAITestBench.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/scsi/SCSIBusRegistry.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

std::vector<uint32_t> Words16(size_t count, uint32_t seed) { return TestWords(16, count, seed); }

std::string Label(const char* prefix, unsigned number)
{
    std::ostringstream text;
    text << prefix << number;
    return text.str();
}

} // namespace

TEST(AKAIEmulator, EveryMIDIModelStartsWithItsOwnPortsAndTheRightFormats)
{
    const char* ids = "4000,4010,4130,4110,4100,4150,4140,4160,4120,4170";
    std::ostringstream warnings;
    const SEmulatorSettings settings = ParseEmulatorSettings(ids, nullptr, nullptr, warnings);
    EXPECT_EQ(warnings.str(), "");
    ASSERT_EQ(settings.samplers.size(), 10u);
    CMIDIPortLists ports;
    CEmulatedSamplers samplers(ports, settings, SteadyEmulatorClock(), 0, warnings);
    ASSERT_EQ(samplers.MIDIEmulators().size(), 10u);
    EXPECT_NE(ports.FindInput("Emulated AKAI S3000 via MIDI"), nullptr);
    EXPECT_NE(ports.FindOutput("Emulated AKAI S1000 via MIDI"), nullptr);
    EXPECT_NE(ports.FindOutput("Emulated AKAI CD3000XL via MIDI"), nullptr);
    int older = 0;
    for (const auto& emulator : samplers.MIDIEmulators())
        older += static_cast<CAKAIEmulator&>(*emulator).Model().olderGeneration ? 1 : 0;
    EXPECT_EQ(older, 2); // the S1000 and the S1100
}

TEST(AKAIEmulator, StatusReportGivesVersionBlocksAndMemory)
{
    // F0 47 00 01 48, version (revision, version), blocks (2), free blocks
    // (2), sample words (4), free words (4), channel, F7.
    AKAITestBench s1000("4000");
    EXPECT_EQ(s1000.Ask(AKAIMessage(0x00, {})),
              (Bytes{0xF0, 0x47, 0x00, 0x01, 0x48, 40, 4, 0x60, 0x03, 0x60, 0x03, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0xF7}));
    AKAITestBench s3000("4100");
    EXPECT_EQ(s3000.Ask(AKAIMessage(0x00, {})),
              (Bytes{0xF0, 0x47, 0x00, 0x01, 0x48, 0, 2, 0x60, 0x03, 0x60, 0x03, 0, 0, 0, 8, 0, 0, 0, 8, 0, 0xF7}));
    // A sample of 1000 words uses one block and 1000 words.
    s3000.SendSample(0, SampleBlock(192, "A", 1000, 44100), Words16(1000, 1));
    const Bytes status = s3000.Ask(AKAIMessage(0x00, {}));
    ASSERT_EQ(status.size(), 21u);
    EXPECT_EQ(status[9] | status[10] << 7, 479);
    EXPECT_EQ(status[15] | status[16] << 7 | status[17] << 14 | status[18] << 21, (16 << 20) - 1000);
    // Another channel, or another family byte, is not this sampler.
    s3000.Send({0xF0, 0x47, 0x01, 0x00, 0x48, 0xF7});
    s3000.Send({0xF0, 0x47, 0x00, 0x00, 0x49, 0xF7});
    EXPECT_TRUE(s3000.SaidNothingMore());
}

TEST(AKAIEmulator, LaterModelsTakeAHeaderAndDataAndGiveThemBackBitExactly)
{
    AKAITestBench bench("4150");
    const std::vector<uint32_t> words = Words16(137, 7); // the last packet part-filled
    const Bytes header = SampleBlock(192, "KICK-1", 137, 44100);
    const std::vector<Bytes> answers = bench.SendSample(0, header, words);
    ASSERT_EQ(answers.size(), 5u);
    for (size_t i = 0; i < answers.size(); ++i)
        EXPECT_EQ(answers[i], Ack(static_cast<uint8_t>(i == 0 ? 0 : i - 1)));

    EXPECT_EQ(bench.Names(0x04), std::vector<Bytes>{NameCodes("KICK-1")});
    // The header read back is the one sent: 12-byte prefix, 384 nibbles.
    const Bytes read = bench.Ask(Numbered(0x0A, 0));
    EXPECT_EQ(read.size(), 397u);
    EXPECT_EQ(read, NewData(0x0B, 0, header));
    // A part of it: offset 3, 12 bytes (the name).
    EXPECT_EQ(bench.Ask(AKAIMessage(0x0A, Concat({Number14(0), {0}, Number14(3), Number14(12)}))),
              NewData(0x0B, 0, NameCodes("KICK-1"), 3));
    // The sample packet request: sample, first word, count, interval 1, 0.
    const Bytes request =
        AKAIMessage(0x0C, Concat({Number14(0), {0, 0, 0, 0}, {137 % 128, 137 / 128, 0, 0}, {1, 0}}));
    ASSERT_EQ(request.size(), 18u);
    Bytes dumpHeader;
    EXPECT_EQ(bench.ReceiveDump(request, &dumpHeader), words);
    EXPECT_EQ(dumpHeader, HeaderMessage(0, 16, 22675, 137, 137, 137, 0x7F));
    // A part of the sample, and the plain dump request.
    const Bytes part = AKAIMessage(0x0C, Concat({Number14(0), {100, 0, 0, 0}, {30, 0, 0, 0}, {1, 0}}));
    EXPECT_EQ(bench.ReceiveDump(part), std::vector<uint32_t>(words.begin() + 100, words.begin() + 130));
    EXPECT_EQ(bench.ReceiveDump(Request(0)), words);
}

TEST(AKAIEmulator, OlderModelsTakeTheFixedBlockMessages)
{
    AKAITestBench bench("4000");
    const std::vector<uint32_t> words = Words16(81, 3);
    const Bytes header = SampleBlock(150, "SNARE", 81, 22050);
    const Bytes message = OldData(0x0B, 0, header);
    ASSERT_EQ(message.size(), 308u);
    EXPECT_EQ(bench.SendSample(0, header, words).front(), Ack(0));
    EXPECT_EQ(bench.Ask(Numbered(0x0A, 0)), message);
    Bytes dumpHeader;
    EXPECT_EQ(bench.ReceiveDump(Request(0), &dumpHeader), words);
    EXPECT_EQ(dumpHeader[7] | dumpHeader[8] << 7 | dumpHeader[9] << 14, 1000000000 / 22050);
    // The later models' offset form is not theirs.
    bench.Send(NewData(0x0B, 0, header));
    EXPECT_EQ(bench.Next(), Reply(1));
    EXPECT_EQ(bench.Ask(AKAIMessage(0x0A, Concat({Number14(0), {0}, Number14(0), Number14(150)}))), Reply(1));
}

TEST(AKAIEmulator, ANewSampleHeaderIsFollowedByItsDataEitherWay)
{
    AKAITestBench bench("4100");
    // Headers sent with numbers past the end land at 0, 1, 2. The first two
    // get their data by a dump header (carrying the header's number, or the
    // number it landed at) and packets; the third by packets alone.
    const std::vector<uint32_t> a = Words16(50, 1), b = Words16(51, 2), c = Words16(52, 3);
    EXPECT_EQ(bench.SendSample(0x3FFF, SampleBlock(192, "S0", 50, 44100), a).front(), Ack(0));
    EXPECT_EQ(bench.Ask(NewData(0x0B, 0x3FFF, SampleBlock(192, "S1", 51, 44100))), Reply(0));
    EXPECT_EQ(bench.SendDump(1, b).back(), Ack(1));
    const std::vector<Bytes> direct = bench.SendSamplePackets(0x3FFF, SampleBlock(192, "S2", 52, 44100), c);
    EXPECT_EQ(direct, (std::vector<Bytes>{Ack(0), Ack(1)}));
    EXPECT_EQ(bench.Names(0x04), (std::vector<Bytes>{NameCodes("S0"), NameCodes("S1"), NameCodes("S2")}));
    EXPECT_EQ(bench.ReceiveDump(Request(0)), a);
    EXPECT_EQ(bench.ReceiveDump(Request(1)), b);
    EXPECT_EQ(bench.ReceiveDump(Request(2)), c);

    // A header for a sample it holds changes its parameters, not its length.
    Bytes retuned = SampleBlock(192, "S1", 51, 44100);
    retuned[2] = 48;
    EXPECT_EQ(bench.Ask(NewData(0x0B, 1, retuned)), Reply(0));
    EXPECT_EQ(bench.emulator->Memory().Sample(1)->header[2], 48);
    EXPECT_EQ(bench.ReceiveDump(Request(1)), b);
    EXPECT_EQ(bench.Ask(NewData(0x0B, 1, SampleBlock(192, "S1", 52, 44100))), Reply(1));
    // A new header with the name of a sample it holds: that one goes first,
    // after a WAIT, and the new one lands at the end.
    EXPECT_EQ(bench.Ask(NewData(0x0B, 50, SampleBlock(192, "S0", 10, 44100))), Wait(0));
    EXPECT_EQ(bench.Next(), Reply(0));
    EXPECT_EQ(bench.Names(0x04), (std::vector<Bytes>{NameCodes("S1"), NameCodes("S2"), NameCodes("S0")}));
}

TEST(AKAIEmulator, ADumpOfItsOwnMakesASampleNamedAfterItsNumber)
{
    AKAITestBench bench("4000");
    EXPECT_EQ(bench.SendSample(0, SampleBlock(150, "KEEP", 10, 44100), Words16(10, 1)).front(), Ack(0));
    const std::vector<uint32_t> words = Words16(20, 9);
    bench.SendDump(0, words, 1000000000 / 32000);
    bench.Settle();
    const std::optional<SAKAISample> made = bench.emulator->Memory().Sample(1);
    ASSERT_TRUE(made);
    EXPECT_EQ(Bytes(made->header.begin() + 3, made->header.begin() + 15), NameCodes("MIDI 00000"));
    EXPECT_EQ(made->header[0], 3);
    EXPECT_EQ(made->header[138] | made->header[139] << 8, 32000);
    EXPECT_EQ(made->header[26], 20);
    EXPECT_EQ(bench.ReceiveDump(Request(1)), words);
    // The same number again replaces the sample of that name; sample 0 stays.
    const std::vector<uint32_t> again = Words16(30, 11);
    bench.SendDump(0, again);
    EXPECT_EQ(bench.Names(0x04), (std::vector<Bytes>{NameCodes("KEEP"), NameCodes("MIDI 00000")}));
    EXPECT_EQ(bench.ReceiveDump(Request(1)), again);
    EXPECT_EQ(bench.ReceiveDump(Request(0)), Words16(10, 1));
    // Shorter words are kept left-justified in 16 bits; longer ones are refused.
    bench.Send(HeaderMessage(2, 8, 22675, 3, 0, 0, 0x7F));
    EXPECT_EQ(bench.Next(), Ack(0));
    EXPECT_EQ(bench.Ask(PacketMessage(0, DataBytes(8, {0x00, 0xFF, 0x81}))), Ack(0));
    EXPECT_EQ(bench.ReceiveDump(Request(2)), (std::vector<uint32_t>{0x0000, 0xFF00, 0x8100}));
    EXPECT_EQ(bench.Ask(HeaderMessage(3, 20, 22675, 3, 0, 0, 0x7F)), Cancel(0));
    // A header longer than the free sample memory (4M words) is refused.
    EXPECT_EQ(bench.Ask(OldData(0x0B, 9, SampleBlock(150, "HUGE", (4u << 20) + 1, 44100))), Reply(1));
    EXPECT_EQ(bench.Names(0x04).size(), 3u);
}

TEST(AKAIEmulator, SamplePacketsAtAnIntervalGiveOneWordPerGroup)
{
    AKAITestBench bench("4100");
    const std::vector<uint32_t> words = {0x8000, 0x8010, 0x7000, 0x8100, 0x9000, 0x8F00, 0x1000, 0x2000, 5};
    bench.SendSample(0, SampleBlock(192, "I", 9, 44100), words);
    auto request = [](uint8_t interval, uint8_t function) {
        return AKAIMessage(0x0C, Concat({Number14(0), {1, 0, 0, 0}, {8, 0, 0, 0}, {interval, function}}));
    };
    // Words 1 to 8 in pairs: the first of each, the average, the peak.
    EXPECT_EQ(bench.ReceiveDump(request(2, 0)), (std::vector<uint32_t>{0x8010, 0x8100, 0x8F00, 0x2000}));
    EXPECT_EQ(bench.ReceiveDump(request(2, 1)), (std::vector<uint32_t>{0x7808, 0x8880, 0x4F80, 0x1002}));
    Bytes header;
    EXPECT_EQ(bench.ReceiveDump(request(2, 2), &header), (std::vector<uint32_t>{0x7000, 0x9000, 0x1000, 5}));
    EXPECT_EQ(header[7] | header[8] << 7 | header[9] << 14, 22675 * 2); // half the rate
    EXPECT_EQ(bench.Ask(request(1, 3)), Reply(1));
}

TEST(AKAIEmulator, AcceptedPacketsReplaceAPartOfASample)
{
    AKAITestBench bench("4150");
    std::vector<uint32_t> words = Words16(100, 5);
    bench.SendSample(0, SampleBlock(192, "PART", 100, 44100), words);
    // Sample 0, from word 30, 45 words: ACK, then the packets.
    EXPECT_EQ(bench.Ask(AKAIMessage(0x0D, Concat({Number14(0), {30, 0, 0, 0}, {45, 0, 0, 0}}))), Ack(0));
    const std::vector<uint32_t> patch = Words16(45, 6);
    const std::vector<Bytes> packets = DumpPackets(16, patch);
    EXPECT_EQ(bench.Ask(packets[0]), Ack(0));
    EXPECT_EQ(bench.Ask(packets[1]), Ack(1));
    std::copy(patch.begin(), patch.end(), words.begin() + 30);
    EXPECT_EQ(bench.ReceiveDump(Request(0)), words);
    // Past the sample's end, or a sample it does not hold.
    EXPECT_EQ(bench.Ask(AKAIMessage(0x0D, Concat({Number14(0), {90, 0, 0, 0}, {11, 0, 0, 0}}))), Reply(1));
    EXPECT_EQ(bench.Ask(AKAIMessage(0x0D, Concat({Number14(1), {0, 0, 0, 0}, {1, 0, 0, 0}}))), Reply(1));
}

TEST(AKAIEmulator, ProgramsWithKeygroupsAreStoredAndReadBack)
{
    for (const char* id : {"4000", "4100"}) {
        SCOPED_TRACE(id);
        AKAITestBench bench(id);
        const size_t size = bench.Block();
        auto data = [&](uint8_t op, uint32_t n, const Bytes& block, int keygroup) {
            return bench.Old() ? OldData(op, n, block, keygroup)
                               : NewData(op, n, block, 0, static_cast<uint8_t>(keygroup < 0 ? 0 : keygroup));
        };
        // A new program with two dummy keygroups; their data goes to program
        // 255 (the one made last), then keygroups past the last are added.
        const Bytes header = ProgramBlock(size, "NEW PROGRAM", 2);
        EXPECT_EQ(bench.Ask(data(0x07, 0x3FFF, header, -1)), Reply(0));
        std::vector<Bytes> keygroups;
        for (uint8_t k = 0; k < 4; ++k)
            keygroups.push_back(KeygroupBlock(size, static_cast<uint8_t>(36 + k), static_cast<uint8_t>(36 + k),
                                              Label("NEW PROG ", k)));
        EXPECT_EQ(bench.Ask(data(0x09, 255, keygroups[0], 0)), Reply(0));
        EXPECT_EQ(bench.Ask(data(0x09, 255, keygroups[1], 1)), Reply(0));
        EXPECT_EQ(bench.Ask(data(0x09, 0, keygroups[2], 2)), Reply(0));
        EXPECT_EQ(bench.Ask(data(0x09, 0, keygroups[3], 7)), Reply(0)); // lands at 3
        EXPECT_EQ(bench.Names(0x02), std::vector<Bytes>{NameCodes("NEW PROGRAM")});

        // The header comes back with its keygroup count raised to 4.
        Bytes expected = header;
        expected[42] = 4;
        EXPECT_EQ(bench.Ask(Numbered(0x06, 0)), data(0x07, 0, expected, -1));
        for (uint8_t k = 0; k < 4; ++k)
            EXPECT_EQ(bench.Ask(AKAIMessage(0x08, Concat({Number14(0), {k}}))), data(0x09, 0, keygroups[k], k));
        EXPECT_EQ(bench.Ask(AKAIMessage(0x08, Concat({Number14(0), {4}}))), Reply(1));
        EXPECT_EQ(bench.Ask(Numbered(0x06, 1)), Reply(1));
        // A block of the wrong kind, or a header for the program with another
        // keygroup count, is refused and changes nothing.
        EXPECT_EQ(bench.Ask(data(0x07, 0, keygroups[0], -1)), Reply(1));
        EXPECT_EQ(bench.Ask(data(0x07, 0, ProgramBlock(size, "NEW PROGRAM", 2), -1)), Reply(1));
        EXPECT_EQ(bench.Ask(data(0x07, 0, expected, -1)), Reply(0));
        // A new program with the name of one it holds replaces it.
        EXPECT_EQ(bench.Ask(data(0x07, 9, ProgramBlock(size, "NEW PROGRAM", 1), -1)), Reply(0));
        ASSERT_EQ(bench.emulator->Memory().Programs().size(), 1u);
        EXPECT_EQ(bench.emulator->Memory().Program(0)->keygroups.size(), 1u);
    }
}

TEST(AKAIEmulator, LaterModelsTakePartsOfBlocks)
{
    AKAITestBench bench("4170");
    ASSERT_EQ(bench.Ask(NewData(0x07, 0, ProgramBlock(192, "P", 1))), Reply(0));
    // The name alone, at offset 3.
    EXPECT_EQ(bench.Ask(NewData(0x07, 0, NameCodes("RENAMED"), 3)), Reply(0));
    EXPECT_EQ(bench.Names(0x02), std::vector<Bytes>{NameCodes("RENAMED")});
    // The keygroup's key span at offset 3, 2 bytes.
    EXPECT_EQ(bench.Ask(NewData(0x09, 0, {40, 41}, 3, 0)), Reply(0));
    EXPECT_EQ(bench.Ask(AKAIMessage(0x08, Concat({Number14(0), {0}, Number14(3), Number14(2)}))),
              NewData(0x09, 0, {40, 41}, 3, 0));
    // Past the end of the block, or a count that does not match the bytes.
    EXPECT_EQ(bench.Ask(NewData(0x07, 0, Bytes(10, 1), 185)), Reply(1));
    Bytes cut = NewData(0x07, 0, NameCodes("X"), 3);
    cut.erase(cut.end() - 3, cut.end() - 1);
    EXPECT_EQ(bench.Ask(cut), Reply(1));
}

TEST(AKAIEmulator, DeletesMoveTheLaterOnesDown)
{
    AKAITestBench bench("4100");
    for (const char* name : {"A", "B", "C"})
        bench.SendSample(0x3FFF, SampleBlock(192, name, 10, 44100), Words16(10, name[0]));
    EXPECT_EQ(bench.Ask(Numbered(0x14, 1)), Reply(0));
    EXPECT_EQ(bench.Names(0x04), (std::vector<Bytes>{NameCodes("A"), NameCodes("C")}));
    EXPECT_EQ(bench.ReceiveDump(Request(1)), Words16(10, 'C'));
    EXPECT_EQ(bench.Ask(Numbered(0x14, 2)), Reply(1));

    for (const char* name : {"P1", "P2"})
        ASSERT_EQ(bench.Ask(NewData(0x07, 0x3FFF, ProgramBlock(192, name, 3))), Reply(0));
    EXPECT_EQ(bench.emulator->Memory().Program(1)->keygroups.size(), 3u);
    // A keygroup, then a whole program with its keygroups.
    EXPECT_EQ(bench.Ask(AKAIMessage(0x13, Concat({Number14(1), {0}}))), Reply(0));
    EXPECT_EQ(bench.emulator->Memory().Program(1)->keygroups.size(), 2u);
    EXPECT_EQ(bench.emulator->Memory().Program(1)->header[42], 2);
    EXPECT_EQ(bench.Ask(Numbered(0x12, 0)), Reply(0));
    EXPECT_EQ(bench.Names(0x02), std::vector<Bytes>{NameCodes("P2")});
    EXPECT_EQ(bench.Ask(Numbered(0x12, 1)), Reply(1));
    // Samples are not part of a program: they stay.
    EXPECT_EQ(bench.Names(0x04).size(), 2u);
}

TEST(AKAIEmulator, LaterModelsAnswerTheHeaderBytesMessages)
{
    AKAITestBench bench("4160");
    const Bytes header = SampleBlock(192, "BYTES", 20, 44100);
    bench.SendSample(0, header, Words16(20, 2));
    // 2B: sample (2), 0, offset (2), count (2) -> 2C with the same fields.
    EXPECT_EQ(bench.Ask(AKAIMessage(0x2B, Concat({Number14(0), {0}, Number14(0), Number14(192)}))),
              NewData(0x2C, 0, header));
    EXPECT_EQ(bench.Ask(AKAIMessage(0x2B, Concat({Number14(0), {0}, Number14(138), Number14(2)}))),
              NewData(0x2C, 0, {0x44, 0xAC}, 138));
    EXPECT_EQ(bench.Ask(Numbered(0x2B, 0)), Reply(1)); // the short form is not theirs
    // 28 and 2A write; keygroup 7F writes every keygroup of the program.
    EXPECT_EQ(bench.Ask(NewData(0x28, 0, ProgramBlock(192, "PROG", 3))), Reply(0));
    EXPECT_EQ(bench.Ask(NewData(0x2A, 0, {60, 72}, 3, 0x7F)), Reply(0));
    for (uint8_t k = 0; k < 3; ++k)
        EXPECT_EQ(bench.Ask(AKAIMessage(0x29, Concat({Number14(0), {k}, Number14(3), Number14(2)}))),
                  NewData(0x2A, 0, {60, 72}, 3, k));
    EXPECT_EQ(bench.Ask(AKAIMessage(0x27, Concat({Number14(0), {0}, Number14(3), Number14(12)}))),
              NewData(0x28, 0, NameCodes("PROG"), 3));
    // Miscellaneous bytes: 0 until written, then what was written.
    const Bytes request = AKAIMessage(0x33, Concat({Number14(5), {2}, {0, 0}, Number14(2)}));
    EXPECT_EQ(bench.Ask(request), AKAIMessage(0x34, Concat({Number14(5), {2}, {0, 0}, Number14(2), {0, 0, 0, 0}})));
    EXPECT_EQ(bench.Ask(AKAIMessage(0x34, Concat({Number14(5), {2}, {0, 0}, Number14(2), Nibbled({0x34, 0x12})}))),
              Reply(0));
    EXPECT_EQ(bench.Ask(request), AKAIMessage(0x34, Concat({Number14(5), {2}, {0, 0}, Number14(2), {4, 3, 2, 1}})));

    // The older models do not know these codes.
    AKAITestBench s1000("4000");
    s1000.Send(AKAIMessage(0x2B, Concat({Number14(0), {0}, Number14(0), Number14(150)})));
    s1000.Send(AKAIMessage(0x33, Concat({Number14(5), {2}, {0, 0}, Number14(2)})));
    EXPECT_TRUE(s1000.SaidNothingMore());
}
