#include <gtest/gtest.h>

#include "devices/midi/SysexConnection.h"
#include "devices/midi/SysexMIDIInput.h"
#include "MIDITestDoubles.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class ConnectionTest : public ::testing::Test {
protected:
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput inPort;
    FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    ScriptedInput input{inPort, parser, clock};
    RecordingOutput output{outPort, clock};

    static Bytes Of(const std::unique_ptr<CRawSysex>& message)
    {
        return Bytes(message->GetData(), message->GetData() + message->GetLength());
    }
};

} // namespace

TEST_F(ConnectionTest, LongSendsLeaveInAwaitedPiecesOf2048Bytes)
{
    const Bytes stream = CountingSysex(5000);
    output.SendBytes(stream.data(), 5000);
    ASSERT_EQ(output.pieces.size(), 3u);
    EXPECT_EQ(output.pieces[0].bytes.size(), 2048u);
    EXPECT_EQ(output.pieces[1].bytes.size(), 2048u);
    EXPECT_EQ(output.pieces[2].bytes.size(), 904u);
    EXPECT_EQ(output.AllBytes(), stream);
    EXPECT_EQ(output.overlapping, 0);
    // The inputs were serviced while each piece was on its way.
    EXPECT_GE(input.polls, 3 * output.pollsPerPiece);
    output.SendBytes(stream.data(), 0);
    output.SendBytes(stream.data(), -1);
    EXPECT_EQ(output.pieces.size(), 3u);
}

TEST_F(ConnectionTest, ARefusedPieceEndsTheStream)
{
    const Bytes stream = CountingSysex(5000);
    output.failAtPiece = 1;
    EXPECT_THROW(output.SendBytes(stream.data(), 5000), XMIDIWriteFailed);
    EXPECT_EQ(output.pieces.size(), 1u);
}

TEST_F(ConnectionTest, ShortMessagesCarryAsManyDataBytesAsTheirStatusTakes)
{
    EXPECT_EQ(output.SendShortMessage(0x90, 60, 100), 0);
    output.SendShortMessage(0xC3, 5, 99);
    output.SendShortMessage(0xF8, 1, 2);
    EXPECT_EQ(output.shortBytes, (Bytes{0x90, 60, 100, 0xC3, 5, 0xF8}));
}

TEST_F(ConnectionTest, FiltersCheckTheirBytesAndTheLengthThoseNeed)
{
    CSysexConnection any(parser, output);
    CSysexConnection manufacturer(parser, output, 0x7E);
    CSysexConnection device(parser, output, 0x7E, 0x05);
    CSysexConnection model(parser, output, 0x41, 0x10, 0x6A);
    struct Case {
        CRawSysex message;
        bool any, manufacturer, device, model;
    };
    const Case cases[] = {
        {{0xF0, 0xF7}, true, false, false, false},
        {{0xF0, 0x7E, 0xF7}, true, true, false, false},
        // Manufacturer right but too short for the device check.
        {{0xF0, 0x7E, 0x05}, true, true, false, false},
        {{0xF0, 0x7E, 0x05, 0xF7}, true, true, true, false},
        {{0xF0, 0x7E, 0x06, 0x01, 0xF7}, true, true, false, false},
        {{0xF0, 0x41, 0x10, 0x6A, 0xF7}, true, false, false, true},
        {{0xF0, 0x41, 0x10, 0x6B, 0x00, 0xF7}, true, false, false, false},
        {{0xF0, 0x41, 0x11, 0x6A, 0x00, 0xF7}, true, false, false, false},
        {{0xF0, 0x41, 0x10, 0x6A}, true, false, false, false},
        // Byte 0 must open a message.
        {{0xF1, 0x7E, 0x05, 0x00, 0xF7}, false, false, false, false},
    };
    for (const Case& c : cases) {
        const std::string bytes = TraceHex(c.message.GetData(), static_cast<size_t>(c.message.GetLength()));
        EXPECT_EQ(any.Matches(c.message), c.any) << bytes;
        EXPECT_EQ(manufacturer.Matches(c.message), c.manufacturer) << bytes;
        EXPECT_EQ(device.Matches(c.message), c.device) << bytes;
        EXPECT_EQ(model.Matches(c.message), c.model) << bytes;
    }
    EXPECT_EQ(device.GetDeviceID(), 0x05);
    EXPECT_EQ(model.GetDeviceID(), 0x10);
}

TEST_F(ConnectionTest, ReceiveSkipsForeignMessagesAndTimesOutAtTheDeadline)
{
    CSysexConnection link(parser, output, 0x7E, 0x00);
    input.At(1005, {0xF0, 0x7E, 0x01, 0x7F, 0xF7}); // another device
    input.At(1010, {0xF0, 0x43, 0x00, 0xF7});       // another maker
    input.At(1020, {0xF0, 0x7E, 0x00, 0x7F, 0x01, 0xF7});
    EXPECT_EQ(Of(link.Receive(100)), (Bytes{0xF0, 0x7E, 0x00, 0x7F, 0x01, 0xF7}));
    EXPECT_LE(clock.now, 1022u);

    const uint64_t start = clock.now;
    EXPECT_THROW(link.Receive(250), XSysexTimedOut);
    // The last look at the input happens with the clock at the deadline.
    EXPECT_GE(clock.now, start + 250);
    EXPECT_LE(clock.now, start + 251);
}

TEST_F(ConnectionTest, AFullRingFailsTheReceiveAndTheTransactionWithoutRetrying)
{
    CSysexConnection link(parser, output);
    input.Now(CountingSysex(40000));
    input.Now(CountingSysex(40000));
    EXPECT_THROW(link.Receive(100), XSysexOverrun);
    output.onPiece = [&](const Bytes&) {
        input.Now(Bytes(40000, 0x01));
        input.Now(Bytes(40000, 0x02));
    };
    EXPECT_THROW(link.Transact({0xF0, 0x01, 0xF7}, 100, 3), XSysexOverrun);
    EXPECT_EQ(output.pieces.size(), 1u);
}

TEST_F(ConnectionTest, TransactFlushesBeforeEachSendAndRetriesOnlyTimeOuts)
{
    CSysexConnection link(parser, output, 0x7E, 0x00);
    const CRawSysex request{0xF0, 0x7E, 0x00, 0x03, 0x00, 0x00, 0xF7};
    // A stale answer already waiting is never taken for the answer.
    input.Now({0xF0, 0x7E, 0x00, 0x7F, 0x00, 0xF7});
    const uint64_t start = clock.now;
    EXPECT_THROW(link.Transact(request, 200, 3), XSysexTimedOut);
    ASSERT_EQ(output.pieces.size(), 3u);
    for (const auto& piece : output.pieces)
        EXPECT_EQ(piece.bytes, Bytes(request.GetData(), request.GetData() + request.GetLength()));
    EXPECT_GE(output.pieces[1].time, output.pieces[0].time + 200);
    EXPECT_GE(output.pieces[2].time, output.pieces[1].time + 200);
    EXPECT_LE(clock.now - start, 3u * 200 + 3 * 10);

    output.pieces.clear();
    EXPECT_THROW(link.Transact(request, 200, 0), XSysexTimedOut);
    EXPECT_TRUE(output.pieces.empty());

    // Answered on the second attempt.
    output.onPiece = [&](const Bytes&) {
        if (output.pieces.size() == 2)
            input.At(clock.now + 50, {0xF0, 0x7E, 0x00, 0x7F, 0x02, 0xF7});
    };
    EXPECT_EQ(Of(link.Transact(request, 200, 3)), (Bytes{0xF0, 0x7E, 0x00, 0x7F, 0x02, 0xF7}));
    EXPECT_EQ(output.pieces.size(), 2u);
}

TEST_F(ConnectionTest, DelaysOnlyEverGrow)
{
    CSysexConnection link(parser, output);
    output.pollsPerPiece = 0; // sends take no time here
    const uint64_t start = clock.now;
    link.DelayNextSend(100);
    clock.now += 20;
    link.DelayNextSend(10); // ends earlier than the one already set: ignored
    link.Send(CRawSysex{0xF0, 0x01, 0xF7});
    ASSERT_EQ(output.pieces.size(), 1u);
    EXPECT_EQ(output.pieces[0].time, start + 100);
    // A later delay replaces an earlier one.
    link.DelayNextSend(10);
    clock.now += 5;
    link.DelayNextSend(50);
    link.SendFlushed(CRawSysex{0xF0, 0x02, 0xF7});
    EXPECT_EQ(output.pieces[1].time, start + 100 + 55);
    // Without a delay, sends go at once.
    link.Send(CRawSysex{0xF0, 0x03, 0xF7});
    EXPECT_EQ(output.pieces[2].time, start + 155);
}

TEST_F(ConnectionTest, AnAnswerAlreadyHereIsReturnedWithoutAYield)
{
    // Each packet of a dump waits for its answer: a yield after taking it
    // would add a millisecond to every packet.
    CSysexConnection link(parser, output);
    input.Now({0xF0, 0x7E, 0x00, 0x7F, 0x00, 0xF7});
    const uint64_t start = clock.now;
    EXPECT_NE(link.Receive(100), nullptr);
    EXPECT_EQ(clock.now, start);
    EXPECT_EQ(clock.sleeps, 0);
}
