#include <gtest/gtest.h>

#include <thread>

#include "devices/midi/ByteStreamMIDIInput.h"
#include "devices/midi/ShortMessageQueue.h"
#include "MIDITestDoubles.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

// Records everything it is handed, on whichever thread.
class RecordingParser : public CMIDIInputParser {
public:
    RecordingParser(bool now, bool later)
    {
        shortNow_ = longNow_ = now;
        shortLater_ = longLater_ = later;
    }
    void OnShortMessage(CMIDIInput*, const SShortMessage& m) override { shortLater.push_back(Pack(m)); }
    void OnLongData(CMIDIInput*, uint32_t, const uint8_t* d, int32_t n) override { longLater.emplace_back(d, d + n); }
    void OnShortMessageNow(CMIDIInput*, const SShortMessage& m) override { shortNow.push_back(Pack(m)); }
    void OnLongDataNow(CMIDIInput*, uint32_t, const uint8_t* d, int32_t n) override { longNow.emplace_back(d, d + n); }

    static Bytes Pack(const SShortMessage& m) { return {m.status, m.data1, m.data2}; }
    std::vector<Bytes> shortNow, shortLater, longNow, longLater;
};

class StreamInput : public CByteStreamMIDIInput {
public:
    StreamInput(const CRegisteredMIDIInput& port, CMIDIInputParser& parser) : CByteStreamMIDIInput(port, parser) {}
    using CByteStreamMIDIInput::StartDelivery;
    using CByteStreamMIDIInput::StopDelivery;
};

} // namespace

TEST(ShortMessageQueue, HoldsUpTo256RecordsInOrderAndDropsTheRest)
{
    CShortMessageQueue queue;
    for (uint32_t i = 0; i < 256; ++i)
        EXPECT_TRUE(queue.Push({i, 0x90, static_cast<uint8_t>(i & 0x7F), 1}));
    EXPECT_FALSE(queue.Push({999, 0x80, 0, 0}));
    SShortMessage record;
    ASSERT_TRUE(queue.Pop(record));
    EXPECT_EQ(record.time, 0u);
    // One slot is free again once the producer has seen the consumer move.
    EXPECT_TRUE(queue.Push({256, 0x90, 0, 1}));
    for (uint32_t i = 1; i <= 256; ++i) {
        ASSERT_TRUE(queue.Pop(record));
        EXPECT_EQ(record.time, i);
    }
    EXPECT_FALSE(queue.Pop(record));
}

TEST(ShortMessageQueue, AProducerThreadAndAConsumerNeverLoseOrRepeatARecord)
{
    CShortMessageQueue queue;
    constexpr uint32_t kCount = 100000;
    std::thread producer([&] {
        for (uint32_t i = 0; i < kCount;) {
            if (queue.Push({i, 0xB0, 7, 100}))
                ++i;
            else
                std::this_thread::yield();
        }
    });
    uint32_t expected = 0;
    SShortMessage record;
    while (expected < kCount) {
        if (!queue.Pop(record)) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(record.time, expected);
        ASSERT_EQ(record.status, 0xB0);
        ++expected;
    }
    producer.join();
    EXPECT_FALSE(queue.Pop(record));
}

TEST(ByteStreamInput, SplitsTheStreamIntoShortMessagesAndSysexData)
{
    FakeRegisteredInput port;
    RecordingParser parser(true, false);
    StreamInput input(port, parser);
    input.DeliverBytes(Bytes{0x90, 0x3C, 0x40}.data(), 3); // before start: ignored
    input.StartDelivery();
    const Bytes stream = {
        0x12,                   // data with no status: dropped
        0x90, 0x3C, 0x40, 0x3E, // note on, then running status...
        0x41,                   // ...completed
        0xF0, 0x7E, 0xF8, 0x00, // a clock byte inside a dump is taken out of it
        0x7F, 0xF7,
        0xC2, 0x05, 0x06,       // program change runs too
        0xF1, 0x23, 0x24,       // time code does not run: 0x24 is dropped
        0xF7,                   // an end without a start
        0xFE,
    };
    input.DeliverBytes(stream.data(), stream.size());
    EXPECT_EQ(parser.shortNow, (std::vector<Bytes>{{0x90, 0x3C, 0x40},
                                                   {0x90, 0x3E, 0x41},
                                                   {0xF8, 0, 0},
                                                   {0xC2, 0x05, 0},
                                                   {0xC2, 0x06, 0},
                                                   {0xF1, 0x23, 0},
                                                   {0xFE, 0, 0}}));
    EXPECT_EQ(parser.longNow, (std::vector<Bytes>{{0xF0, 0x7E, 0x00, 0x7F, 0xF7}}));

    // A message split across two deliveries comes out as it arrives; a status
    // byte cuts an unfinished one off.
    parser.longNow.clear();
    parser.shortNow.clear();
    input.DeliverBytes(Bytes{0xF0, 0x01}.data(), 2);
    input.DeliverBytes(Bytes{0x02, 0x80, 0x3C, 0x00}.data(), 4);
    EXPECT_EQ(parser.longNow, (std::vector<Bytes>{{0xF0, 0x01}, {0x02}}));
    EXPECT_EQ(parser.shortNow, (std::vector<Bytes>{{0x80, 0x3C, 0x00}}));

    input.StopDelivery();
    input.DeliverBytes(Bytes{0xFE}.data(), 1);
    EXPECT_EQ(parser.shortNow.size(), 1u);
}

TEST(ByteStreamInput, DataForLaterWaitsForThePoll)
{
    FakeRegisteredInput port;
    RecordingParser parser(false, true);
    StreamInput input(port, parser);
    input.StartDelivery();
    const Bytes dump = CountingSysex(5000);
    input.DeliverBytes(dump.data(), dump.size());
    input.DeliverBytes(Bytes{0xB0, 0x07, 0x64}.data(), 3);
    EXPECT_TRUE(parser.longLater.empty());
    EXPECT_TRUE(parser.shortLater.empty());
    input.Poll();
    // Long data travels in blocks of at most 2048 bytes.
    ASSERT_EQ(parser.longLater.size(), 3u);
    EXPECT_EQ(parser.longLater[0].size(), 2048u);
    Bytes joined;
    for (const Bytes& block : parser.longLater)
        joined.insert(joined.end(), block.begin(), block.end());
    EXPECT_EQ(joined, dump);
    EXPECT_EQ(parser.shortLater, (std::vector<Bytes>{{0xB0, 0x07, 0x64}}));
    EXPECT_TRUE(parser.shortNow.empty());
}

TEST(OpenInputs, EveryInputIsServicedWhileItIsOpen)
{
    FakeClock clock;
    CScopedMIDIClock scoped(clock);
    FakeRegisteredInput port;
    RecordingParser first(false, false), second(false, false);
    auto a = std::make_unique<ScriptedInput>(port, first, clock);
    EXPECT_EQ(first.Input(), a.get());
    {
        ScriptedInput b(port, second, clock);
        ASSERT_EQ(CMIDIInput::OpenInputs().size(), 2u);
        EXPECT_EQ(CMIDIInput::OpenInputs()[1], &b);
        ServiceAllMIDIInputs();
        EXPECT_EQ(a->polls, 1);
        EXPECT_EQ(b.polls, 1);
        EXPECT_EQ(clock.now, 1001u);
    }
    EXPECT_EQ(second.Input(), nullptr);
    ASSERT_EQ(CMIDIInput::OpenInputs().size(), 1u);
    a.reset();
    EXPECT_TRUE(CMIDIInput::OpenInputs().empty());
    EXPECT_EQ(first.Input(), nullptr);
}
