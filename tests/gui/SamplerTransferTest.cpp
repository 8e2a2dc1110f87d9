// The program with an emulated E-mu at start-up: the demo-like loop goes to
// the installed sampler from the Sampler menu, and Receive brings its first
// slice back into a new window, sample for sample.
#include <gtest/gtest.h>

#include <cstdlib>

#include "SamplerMenuRoundTrip.h"

namespace quorvel::test {
namespace {

TEST(SamplerTransferTest, TheLoopGoesToTheEmulatedEmuAndASliceComesBackIntoANewWindow)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "5121", 1);
    CPersistentInstalledSampler e4k;
    e4k.modelTypeId = 5121;
    e4k.modelName = "E-mu E4K via SCSI";
    e4k.scsiBus = {"Loopback", "Loopback"};
    e4k.scsiId = 0;
    e4k.userName = "My E4K";
    SMenuRoundTrip trip;
    RunSamplerMenuRoundTrip(e4k, nullptr, trip);
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");

    EXPECT_TRUE(trip.transmitEnabled);
    EXPECT_TRUE(trip.receiveEnabled);
    EXPECT_EQ(trip.transmitText, "Transmit to My E4K...");
    EXPECT_TRUE(trip.alerts.empty()) << trip.alerts.front();
    EXPECT_GT(trip.sliceCount, 1);
    EXPECT_EQ(trip.windowsAfter, trip.windowsBefore + 1);
    ASSERT_FALSE(trip.firstSlice.empty());
    EXPECT_EQ(trip.received, trip.firstSlice);
}

} // namespace
} // namespace quorvel::test
