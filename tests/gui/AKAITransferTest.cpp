// The program with an emulated AKAI S3000 at start-up: the loop goes to it
// from the Sampler menu as a program of one keygroup per slice, and Receive
// brings the first slice back into a new window, sample for sample.
#include <gtest/gtest.h>

#include <cstdlib>

#include "SamplerMenuRoundTrip.h"
#include "samplers/akai/AKAIInterface.h"

namespace quorvel::test {
namespace {

TEST(AKAITransferTest, TheMenuLeavesAProgramOnTheEmulatedS3000AndReceiveBringsASliceBack)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "4100", 1);
    ::unsetenv("QUORVEL_EMULATOR_DIR");
    CPersistentInstalledSampler s3000;
    s3000.modelTypeId = 4100;
    s3000.modelName = "AKAI S3000 via MIDI";
    s3000.midiIn = {"Emulated AKAI S3000 via MIDI", "Loopback"};
    s3000.midiOut = {"Emulated AKAI S3000 via MIDI", "Loopback"};
    s3000.userName = "My S3000";
    std::vector<std::string> programs;
    std::vector<std::string> zones;
    std::vector<int> keys;
    SMenuRoundTrip trip;
    RunSamplerMenuRoundTrip(s3000, [&](CABCSamplerInterface& device, int) {
        auto* akai = dynamic_cast<CABCAKAIInterface*>(&device);
        ASSERT_NE(akai, nullptr);
        programs = akai->ProgramNames();
        if (!programs.empty()) {
            const std::unique_ptr<akai::CAKAIProgram> program = akai->GetProgram(0);
            for (const auto& group : program->KeyGroups()) {
                keys.push_back(group->LowNote());
                zones.push_back(group->ZoneSample(0));
            }
        }
    }, trip);
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");

    const std::vector<std::string>& alerts = trip.alerts;
    const int sliceCount = trip.sliceCount;
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    ASSERT_GT(sliceCount, 1);
    EXPECT_EQ(programs, std::vector<std::string>{"NEW PROGRAM"});
    ASSERT_EQ(static_cast<int>(keys.size()), sliceCount);
    for (int k = 0; k < sliceCount; ++k) {
        EXPECT_EQ(keys[static_cast<size_t>(k)], 36 + k);
        EXPECT_EQ(zones[static_cast<size_t>(k)], (k < 9 ? "NEW PROGR 0" : "NEW PROGR ") + std::to_string(k + 1));
    }
    ASSERT_FALSE(trip.firstSlice.empty());
    EXPECT_EQ(trip.received, trip.firstSlice);
}

} // namespace
} // namespace quorvel::test
