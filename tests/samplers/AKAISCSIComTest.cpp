// AKAI messages inside the vendor SCSI commands, against a scripted target
// on the Loopback bus and a simulated clock.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIClock.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/akai/AKAISCSICom.h"
#include "samplers/akai/AKAISCSIInterface.h"
#include "../devices/MIDITestDoubles.h"

namespace quorvel {
namespace {

using test::Bytes;

// Keeps what the host sent; answers each message with the next scripted
// answer, handed out through the waiting count and the read.
class ScriptedAKAITarget : public ISCSITarget {
public:
    explicit ScriptedAKAITarget(const test::FakeClock& clock) : clock_(clock) {}

    SCSIResult Command(const uint8_t* block, ESCSIDirection, uint8_t* data, size_t length) override
    {
        commands.push_back(block[0]);
        while (!timed.empty() && timed.begin()->first <= clock_.now) {
            waiting.insert(waiting.end(), timed.begin()->second.begin(), timed.begin()->second.end());
            timed.erase(timed.begin());
        }
        if (block[0] == kSCSITestUnitReady) {
            if (notReady > 0) {
                --notReady;
                return CheckCondition(2, 0x04);
            }
            return {};
        }
        const size_t count = size_t{block[2]} << 16 | size_t{block[3]} << 8 | block[4];
        switch (block[0]) {
        case akai::kSCSISendExclusive:
            received.emplace_back(data, data + length);
            EXPECT_EQ(count, length);
            if (!answers.empty()) {
                waiting.insert(waiting.end(), answers.front().begin(), answers.front().end());
                answers.pop_front();
            }
            return {};
        case akai::kSCSIWaitingCount:
            EXPECT_EQ(length, 3u);
            data[0] = static_cast<uint8_t>(waiting.size() >> 16);
            data[1] = static_cast<uint8_t>(waiting.size() >> 8);
            data[2] = static_cast<uint8_t>(waiting.size());
            return {};
        case akai::kSCSIReadWaiting:
            if (failReads > 0) {
                --failReads;
                return CheckCondition(4);
            }
            EXPECT_EQ(count, length);
            std::copy(waiting.begin(), waiting.begin() + static_cast<long>(length), data);
            waiting.erase(waiting.begin(), waiting.begin() + static_cast<long>(length));
            return {};
        default:
            return CheckCondition(5, 0x20);
        }
    }

    std::vector<uint8_t> commands;
    std::vector<Bytes> received;
    std::deque<Bytes> answers;
    Bytes waiting;
    std::multimap<uint64_t, Bytes> timed; // bytes that become waiting at a time
    int notReady = 0;
    int failReads = 0;

private:
    const test::FakeClock& clock_;
};

class AKAISCSI : public ::testing::Test {
protected:
    test::FakeClock clock;
    CScopedMIDIClock midiClock{clock};
    CScopedSCSIClock scsiClock{clock};
    CSCSIBusRegistry buses;
    std::shared_ptr<ScriptedAKAITarget> target = std::make_shared<ScriptedAKAITarget>(clock);
    CLoopbackSCSIBus* bus = LoopbackSCSIBus(buses);
    uint8_t id = bus->AddTarget(target);
    CAKAISCSICom com{SCSIDevice{bus, id, 1000}, 0};

    static Bytes SampleList() { return {0xF0, 0x47, 0, 0x05, 0x48, 1, 0, 21, 19, 13, 21, 10, 10, 10, 10, 10, 10, 10, 10, 0xF7}; }
};

TEST_F(AKAISCSI, AMessageGoesOutAndItsAnswerIsReadBack)
{
    target->answers.push_back(SampleList());
    const std::unique_ptr<CRawSysex> answer = com.Request(akai::PlainRequest(0, akai::kRequestSampleList));
    EXPECT_EQ(Bytes(answer->GetData(), answer->GetData() + answer->GetLength()), SampleList());
    ASSERT_EQ(target->received.size(), 1u);
    EXPECT_EQ(target->received[0], (Bytes{0xF0, 0x47, 0, 0x04, 0x48, 0xF7}));
    // Every command after a TEST UNIT READY.
    EXPECT_EQ(target->commands, (std::vector<uint8_t>{0x00, 0x0C, 0x00, 0x0D, 0x00, 0x0E}));
}

TEST_F(AKAISCSI, TheSamplerMustBecomeReadyWithinOneSecond)
{
    target->notReady = 3;
    const uint64_t start = clock.now;
    com.Send(akai::PlainRequest(0, akai::kRequestStatus));
    EXPECT_GE(clock.now - start, 300u);
    EXPECT_EQ(target->received.size(), 1u);

    target->notReady = 100;
    EXPECT_THROW(com.Send(akai::PlainRequest(0, akai::kRequestStatus)), XAKAISCSITimedOut);
    EXPECT_EQ(target->received.size(), 1u);
}

TEST_F(AKAISCSI, AFailedReadIsTriedOnceMore)
{
    target->answers = {SampleList(), SampleList()};
    target->failReads = 1;
    const uint64_t start = clock.now;
    EXPECT_NO_THROW(com.Request(akai::PlainRequest(0, akai::kRequestSampleList)));
    EXPECT_GE(clock.now - start, 250u);

    target->failReads = 2;
    EXPECT_THROW(com.Request(akai::PlainRequest(0, akai::kRequestSampleList)), XAKAISCSICommunicationException);
}

TEST_F(AKAISCSI, SilenceEndsTheReplyWaitAndAWaitExtendsIt)
{
    const uint64_t start = clock.now;
    EXPECT_THROW(com.Request(akai::PlainRequest(0, akai::kRequestSampleList)), XAKAISCSINoUnreadData);
    EXPECT_GE(clock.now - start, 1000u);

    // A WAIT, then the answer five seconds later.
    target->answers.push_back({0xF0, 0x7E, 0, 0x7C, 0, 0xF7});
    const uint64_t later = clock.now + 5000;
    target->timed.emplace(later, SampleList());
    const std::unique_ptr<CRawSysex> answer = com.Request(akai::PlainRequest(0, akai::kRequestSampleList));
    EXPECT_EQ(akai::Operation(*answer), akai::kSampleList);
    EXPECT_GE(clock.now, later);
}

TEST_F(AKAISCSI, TheInterfaceListsAndDeletes)
{
    CAKAISCSIInterface sampler(SCSIDevice{bus, id, 1000}, 0);
    target->answers = {SampleList(), {0xF0, 0x47, 0, 0x16, 0x48, 0, 0xF7}, {0xF0, 0x47, 0, 0x16, 0x48, 1, 0xF7}};
    const std::unique_ptr<CSampleList> list = sampler.GetSampleList(0, 0);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Get(0)->Name(), "KICK");
    EXPECT_NO_THROW(sampler.DeleteSample(0));
    EXPECT_EQ(target->received.back(), (Bytes{0xF0, 0x47, 0, 0x14, 0x48, 0, 0, 0xF7}));
    EXPECT_THROW(sampler.DeleteSample(3), XAKAIReceivedError);
}

} // namespace
} // namespace quorvel
