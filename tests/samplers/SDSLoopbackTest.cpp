// The sample dump over real Loopback ports to the emulated sampler, which
// answers on a thread of its own: the transfer meets the threads and timing
// of a hardware port (unpaced, so it stays quick), and a peer written from
// the standard rather than from this side's code.
#include <gtest/gtest.h>

#include <sstream>

#include "devices/emulated/EmulatedSamplers.h"
#include "devices/midi/LoopbackMIDI.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/SampleTransfer.h"
#include "samplers/sds/SDSReceiver.h"
#include "samplers/sds/SDSTransmitter.h"
#include "loopgen/DrumLoopGenerator.h"

using namespace quorvel;

namespace {

class NoProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

} // namespace

TEST(SDSLoopbackTest, ASliceOfALoopGoesOutAndComesBackBitExactly)
{
    CMIDIPortLists lists;
    std::ostringstream warnings;
    CSteadyEmulatorClock clock;
    const CEmulatedSamplers emulated(lists, ParseEmulatorSettings("sds", "", "", warnings), clock, 0, warnings);
    ASSERT_EQ(warnings.str(), "");
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input = lists.FindInput("Emulated SDS")->Open(parser);
    std::unique_ptr<CMIDIOutput> output = lists.FindOutput("Emulated SDS")->Open();

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
