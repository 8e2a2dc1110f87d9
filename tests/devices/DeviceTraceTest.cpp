#include <gtest/gtest.h>

#include <fstream>

#include "../common/TempFolder.h"
#include "devices/DeviceTrace.h"
#include "devices/midi/SysexConnection.h"
#include "devices/midi/SysexMIDIInput.h"
#include "MIDITestDoubles.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The line without its milliseconds, which must be a number.
std::string Body(const std::string& line)
{
    const size_t tab = line.find('\t');
    if (tab == 0 || tab == std::string::npos ||
        line.find_first_not_of("0123456789") != tab)
        return "malformed: " + line;
    return line.substr(tab + 1);
}

} // namespace

TEST(DeviceTrace, EveryMessageSentOrTakenOutIsOneLine)
{
    TempFolder folder;
    const std::string path = folder / "trace.txt";
    ASSERT_TRUE(OpenDeviceTrace(path));
    EXPECT_TRUE(DeviceTraceActive());
    {
        FakeClock clock;
        CScopedMIDIClock scoped(clock);
        FakeRegisteredInput inPort("Sampler In");
        FakeRegisteredOutput outPort("Sampler Out");
        CSysexMIDIInput parser;
        ScriptedInput input(inPort, parser, clock);
        RecordingOutput output(outPort, clock);
        CSysexConnection link(parser, output);

        const Bytes dump = CountingSysex(3000); // traced whole, not per piece
        link.Send(CRawSysex(dump));
        output.SendShortMessage(0x90, 0x3C, 0x7F);
        input.Now({0x01, 0xF0, 0x7E, 0x00, 0xF7, 0xF0, 0x02, 0x90, 0xF7});
        EXPECT_NE(parser.NextSysex(), nullptr);
        EXPECT_EQ(parser.NextSysex(), nullptr);
        // A message streamed with the waits is traced once its end is read.
        input.Now({0xF0, 0x10, 0x11, 0x12, 0xF7});
        parser.WaitForStart(clock.now + 10);
        Bytes piece(5);
        parser.ReadBytes(3, piece.data());
        parser.ReadBytes(2, piece.data() + 3);

        CloseDeviceTrace();
        EXPECT_FALSE(DeviceTraceActive());
        link.Send(CRawSysex{0xF0, 0xF7}); // after closing: not traced

        const std::vector<std::string> lines = Lines(path);
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(Body(lines[0]), "midi-out\tSampler Out\t" + TraceHex(dump.data(), dump.size()));
        EXPECT_EQ(Body(lines[1]), "midi-out\tSampler Out\t90 3C 7F");
        EXPECT_EQ(Body(lines[2]), "midi-in-bad\tSampler In\t01");
        EXPECT_EQ(Body(lines[3]), "midi-in\tSampler In\tF0 7E 00 F7");
        EXPECT_EQ(Body(lines[4]), "midi-in-bad\tSampler In\tF0 02 90 F7");
        EXPECT_EQ(Body(lines[5]), "midi-in\tSampler In\tF0 10 11 12 F7");
    }
}

TEST(DeviceTrace, HexIsUpperCaseAndBlankSeparated)
{
    const Bytes bytes = {0x00, 0x0A, 0xF7, 0x7F};
    EXPECT_EQ(TraceHex(bytes.data(), bytes.size()), "00 0A F7 7F");
    EXPECT_EQ(TraceHex(bytes.data(), 0), "");
}
