#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "devices/midi/RawSysex.h"
#include "devices/midi/SysexMIDIInput.h"
#include "MIDITestDoubles.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class SysexInputTest : public ::testing::Test {
protected:
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput port;
    CSysexMIDIInput parser;
    ScriptedInput input{port, parser, clock};

    Bytes Next()
    {
        std::unique_ptr<CRawSysex> message = parser.NextSysex();
        if (!message)
            return {};
        return Bytes(message->GetData(), message->GetData() + message->GetLength());
    }
};

} // namespace

TEST(RawSysex, WellFormednessAndRequiredLength)
{
    struct Case {
        Bytes bytes;
        bool wellFormed;
    };
    const Case cases[] = {
        {{0xF0, 0xF7}, true},
        {{0xF0}, false},
        {{}, false},
        {{0xF0, 0x01, 0x7F, 0xF7}, true},
        {{0xF0, 0x01, 0x80, 0xF7}, false},
        {{0xF0, 0x01, 0xF0, 0x02, 0xF7}, false},
        {{0xF1, 0x01, 0xF7}, false},
        {{0xF0, 0x01, 0x02}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CRawSysex(c.bytes).IsWellFormed(), c.wellFormed) << TraceHexForTest(c.bytes);
    CRawSysex message(5);
    EXPECT_EQ(message.GetLength(), 5);
    EXPECT_NO_THROW(message.RequireLength(5));
    EXPECT_THROW(message.RequireLength(6), XSysexTooSmall);
    message.GetData()[0] = 0xF0;
    message.SetLength(2);
    EXPECT_EQ(message.GetLength(), 2);
    EXPECT_EQ(message.GetData()[0], 0xF0);
}

TEST_F(SysexInputTest, CutsMessagesOutOfTheStream)
{
    // Stray bytes before a start are lost; two messages in one delivery come
    // out one by one; a message whose end is missing waits for it.
    input.Now({0x7E, 0x01, 0xF0, 0x41, 0x10, 0xF7, 0xF0, 0x7E, 0x00});
    EXPECT_EQ(Next(), (Bytes{0xF0, 0x41, 0x10, 0xF7}));
    EXPECT_EQ(Next(), Bytes{});
    input.Now({0x01, 0x02});
    EXPECT_EQ(Next(), Bytes{});
    input.Now({0x03, 0xF7});
    EXPECT_EQ(Next(), (Bytes{0xF0, 0x7E, 0x00, 0x01, 0x02, 0x03, 0xF7}));
    EXPECT_EQ(parser.Available(), 0u);
    // The smallest message.
    input.Now({0xF0, 0xF7});
    EXPECT_EQ(Next(), (Bytes{0xF0, 0xF7}));
}

TEST_F(SysexInputTest, AMessageCutOffByANewStartIsDroppedWithItsSuccessor)
{
    input.Now({0xF0, 0x01, 0x02, 0xF0, 0x03, 0xF7, 0xF0, 0x05, 0xF7});
    // The first two are joined into one block that is not well-formed.
    EXPECT_EQ(Next(), Bytes{});
    EXPECT_EQ(Next(), (Bytes{0xF0, 0x05, 0xF7}));
    // Data bytes above 0x7F spoil a message too.
    input.Now({0xF0, 0x01, 0x90, 0xF7});
    EXPECT_EQ(Next(), Bytes{});
    EXPECT_EQ(parser.Available(), 0u);
}

TEST_F(SysexInputTest, MessagesWrapAroundTheRingIntact)
{
    const Bytes first = CountingSysex(40000, 1);
    const Bytes second = CountingSysex(40000, 2); // crosses the end of the ring
    const Bytes third = CountingSysex(CSysexMIDIInput::kRingSize, 3); // fills the ring exactly
    input.Now(first);
    EXPECT_EQ(Next(), first);
    // Delivered in uneven pieces.
    input.Now(Bytes(second.begin(), second.begin() + 25000));
    EXPECT_EQ(Next(), Bytes{});
    input.Now(Bytes(second.begin() + 25000, second.end()));
    EXPECT_EQ(Next(), second);
    input.Now(third);
    EXPECT_EQ(Next(), third);
}

TEST_F(SysexInputTest, AWriterThatLapsTheReaderFailsTheReadInsteadOfSplicing)
{
    const Bytes first = CountingSysex(40000, 1);
    const Bytes second = CountingSysex(30000, 2);
    input.Now(Bytes(first.begin(), first.end() - 1)); // first dump, end not yet read
    input.Now(second);                                 // would overwrite the first dump's start
    input.Now({0xF7});
    EXPECT_THROW(parser.NextSysex(), XSysexOverrun);
    // What was held is gone; the input works again from the next message on.
    EXPECT_EQ(parser.Available(), 0u);
    EXPECT_EQ(Next(), Bytes{});
    input.Now({0xF0, 0x11, 0xF7});
    EXPECT_EQ(Next(), (Bytes{0xF0, 0x11, 0xF7}));

    // A wait on a streamed dump fails the same way.
    input.Now(Bytes(first.begin(), first.begin() + 30000));
    parser.WaitForStart(clock.now + 10);
    input.Now(CountingSysex(40000));
    EXPECT_THROW(parser.WaitForEnd(clock.now + 10), XSysexOverrun);
    // Flush clears a pending overrun too.
    input.Now(CountingSysex(40000));
    input.Now(CountingSysex(40000));
    parser.Flush();
    input.Now({0xF0, 0x12, 0xF7});
    EXPECT_EQ(Next(), (Bytes{0xF0, 0x12, 0xF7}));
}

TEST_F(SysexInputTest, WaitForStartSkipsToTheNextMessageOrTimesOut)
{
    input.At(1050, {0x01, 0x02, 0xF0, 0x10});
    parser.WaitForStart(2000);
    // Delivered by the poll at 1050 and seen after that pass's 1 ms yield.
    EXPECT_EQ(clock.now, 1051u);
    EXPECT_EQ(parser.Available(), 2u);
    Bytes start(1);
    parser.ReadBytes(1, start.data());
    EXPECT_EQ(start[0], 0xF0);

    const uint64_t deadline = clock.now + 200;
    EXPECT_THROW(parser.WaitForStart(deadline), XSysexTimedOut);
    EXPECT_EQ(clock.now, deadline);
    // The bytes passed over while waiting are gone.
    EXPECT_EQ(parser.Available(), 0u);
}

TEST_F(SysexInputTest, StreamsOneLongDumpPieceByPiece)
{
    const Bytes dump = CountingSysex(70000, 9); // longer than the ring: must be read while it comes
    // Arrives in 1000-byte pieces, one per millisecond.
    for (size_t offset = 0, t = 1001; offset < dump.size(); offset += 1000, ++t)
        input.At(t, Bytes(dump.begin() + offset, dump.begin() + std::min(dump.size(), offset + 1000)));
    parser.WaitForStart(5000);
    Bytes got;
    Bytes piece(4096);
    for (;;) {
        const size_t left = dump.size() - got.size();
        const int32_t want = static_cast<int32_t>(std::min<size_t>(left, piece.size()));
        parser.WaitForBytes(want, clock.now + 100);
        parser.ReadBytes(want, piece.data());
        got.insert(got.end(), piece.begin(), piece.begin() + want);
        if (got.size() == dump.size())
            break;
    }
    EXPECT_EQ(got, dump);
}

TEST_F(SysexInputTest, WaitsForBytesAndForTheEnd)
{
    input.At(1010, {0xF0, 0x01, 0x02});
    input.At(1020, {0x03, 0x04, 0xF7});
    parser.WaitForBytes(3, 2000);
    EXPECT_EQ(clock.now, 1011u);
    EXPECT_EQ(parser.WaitForEnd(2000), 6);
    EXPECT_EQ(clock.now, 1021u);
    // The message is complete with 6 bytes: asking for 6 is fine, 7 is too many.
    EXPECT_NO_THROW(parser.WaitForBytes(6, 2000));
    EXPECT_THROW(parser.WaitForBytes(7, 2000), XSysexTooSmall);
    Bytes all(6);
    parser.ReadBytes(6, all.data());
    EXPECT_EQ(all, (Bytes{0xF0, 0x01, 0x02, 0x03, 0x04, 0xF7}));
    EXPECT_THROW(parser.ReadBytes(1, all.data()), XSysexTooSmall);

    input.Now({0xF0, 0x01});
    const uint64_t deadline = clock.now + 30;
    EXPECT_THROW(parser.WaitForBytes(3, deadline), XSysexTimedOut);
    EXPECT_EQ(clock.now, deadline);
    EXPECT_THROW(parser.WaitForEnd(clock.now + 30), XSysexTimedOut);
}

TEST_F(SysexInputTest, FlushDiscardsEverythingUnread)
{
    input.Now({0xF0, 0x01, 0xF7, 0xF0, 0x02});
    parser.Flush();
    EXPECT_EQ(parser.Available(), 0u);
    input.Now({0xF7, 0xF0, 0x03, 0xF7});
    EXPECT_EQ(Next(), (Bytes{0xF0, 0x03, 0xF7}));
}

TEST(SysexInputThreads, ADriverThreadAndTheReaderShareTheRingWithoutALock)
{
    // Messages of every size in uneven pieces from another thread, many
    // times round the ring; the writer holds back when the reader lags so
    // that nothing is lost.
    FakeRegisteredInput port;
    CSysexMIDIInput parser;
    FakeClock clock;
    CScopedMIDIClock scoped(clock);
    ScriptedInput input(port, parser, clock);
    std::vector<Bytes> messages;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (int i = 0; i < 300; ++i)
        messages.push_back(CountingSysex(2 + next(6000), static_cast<uint8_t>(i)));
    Bytes stream;
    for (const Bytes& m : messages)
        stream.insert(stream.end(), m.begin(), m.end());
    std::vector<size_t> pieces;
    for (size_t offset = 0; offset < stream.size();) {
        const size_t n = std::min<size_t>(1 + next(3000), stream.size() - offset);
        pieces.push_back(n);
        offset += n;
    }
    std::thread writer([&] {
        size_t offset = 0;
        for (size_t n : pieces) {
            while (parser.Available() + n > CSysexMIDIInput::kRingSize)
                std::this_thread::yield();
            parser.OnLongDataNow(&input, 0, stream.data() + offset, static_cast<int32_t>(n));
            offset += n;
        }
    });
    size_t got = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (got < messages.size() && std::chrono::steady_clock::now() < until) {
        std::unique_ptr<CRawSysex> message = parser.NextSysex();
        if (!message) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(Bytes(message->GetData(), message->GetData() + message->GetLength()), messages[got]) << got;
        ++got;
    }
    writer.join();
    EXPECT_EQ(got, messages.size());
}
