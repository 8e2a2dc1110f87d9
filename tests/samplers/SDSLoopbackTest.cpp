// The sample dump over real Loopback ports: the far end answers on the
// wire's own thread, so the transfer meets the threads and timing of a
// hardware port (unpaced, so it stays quick).
#include <gtest/gtest.h>

#include <mutex>

#include "devices/midi/LoopbackMIDI.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/SampleTransfer.h"
#include "samplers/sds/SDSReceiver.h"
#include "samplers/sds/SDSTransmitter.h"
#include "FakeSDSSampler.h"
#include "loopgen/DrumLoopGenerator.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

// Keeps the one sample it is sent and dumps it back when asked.
class WireSampler {
public:
    explicit WireSampler(const SLoopbackMIDIDevice& ends) : ends_(ends)
    {
        ends_.fromProgram->Attach([this](const uint8_t* data, size_t length) {
            std::lock_guard lock(mutex_);
            for (size_t i = 0; i < length; ++i) {
                if (data[i] == 0xF0)
                    message_.clear();
                message_.push_back(data[i]);
                if (data[i] == 0xF7)
                    OnMessage();
            }
        });
    }
    ~WireSampler() { ends_.fromProgram->Detach(); }

private:
    void Write(const Bytes& bytes) { ends_.toProgram->Write(bytes.data(), bytes.size()); }

    void OnMessage()
    {
        const Bytes& m = message_;
        if (m.size() == 21 && m[3] == 0x01) {
            header_ = m;
            packets_.clear();
            Write(SdsHandshake(kAck, 0));
        } else if (m.size() == 127 && m[3] == 0x02) {
            if (SdsChecksum(m) != m[125])
                return Write(SdsHandshake(kNak, m[4]));
            packets_.push_back(m);
            Write(SdsHandshake(kAck, m[4]));
        } else if (m.size() == 7 && m[3] == 0x03) {
            next_ = 0;
            Write(header_);
        } else if (m.size() == 6 && m[3] == kAck) {
            if (next_ < packets_.size())
                Write(packets_[next_++]);
        }
    }

    SLoopbackMIDIDevice ends_;
    std::mutex mutex_;
    Bytes message_;
    Bytes header_;
    std::vector<Bytes> packets_;
    size_t next_ = 0;
};

class NoProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

} // namespace

TEST(SDSLoopbackTest, ASliceOfALoopGoesOutAndComesBackBitExactly)
{
    CMIDIPortLists lists;
    const SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(lists, "Wire SDS", 0);
    WireSampler device(ends);
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input = lists.FindInput("Wire SDS")->Open(parser);
    std::unique_ptr<CMIDIOutput> output = lists.FindOutput("Wire SDS")->Open();

    // The second and third hits of a drum loop with room hiss.
    loopgen::LoopSpec recipe;
    recipe.hiss = 40;
    const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(recipe);
    ASSERT_GE(loop.hits.size(), 4u);
    const std::vector<int16_t> slice(loop.samples.begin() + loop.hits[1].frame,
                                     loop.samples.begin() + loop.hits[3].frame);
    SampleInfo info;
    info.bits = 16;
    info.rate = 44100;
    info.length = static_cast<uint32_t>(slice.size());
    NoProgress progress;
    {
        CSDSTransmitter transmitter(*output, parser, 0, 3, 5000);
        TransmitSample(transmitter, info, 0, slice, progress);
        EXPECT_FALSE(transmitter.IsActive());
    }
    CSDSReceiver receiver(*output, parser, 0, 3, 5000);
    const SReceivedSample received = ReceiveSample(receiver, 0, progress);
    EXPECT_EQ(received.info.length, info.length);
    EXPECT_EQ(received.info.rate, 44100u);
    EXPECT_EQ(received.narrow, slice);
}
