// The program with an emulated Yamaha A3000 at start-up: the loop goes to it
// from the Sampler menu as a sample bank of one member per slice, and
// Receive brings the first slice back into a new window, sample for sample.
#include <gtest/gtest.h>

#include <cstdlib>

#include "SamplerMenuRoundTrip.h"
#include "samplers/yamaha/A3000Interface.h"

namespace quorvel::test {
namespace {

TEST(A3000TransferTest, TheMenuLeavesASampleBankOnTheEmulatedA3000AndReceiveBringsASliceBack)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "6000", 1);
    // A wave dump is one long message without handshakes: the cable's pace
    // (here a fast one) is what keeps it within the input's ring.
    ::setenv("QUORVEL_MIDI_BAUD", "10000000", 1);
    ::unsetenv("QUORVEL_EMULATOR_DIR");
    CPersistentInstalledSampler installed;
    installed.modelTypeId = 6000;
    installed.modelName = "Yamaha A3000 via MIDI";
    installed.midiIn = {"Emulated Yamaha A3000 via MIDI", "Loopback"};
    installed.midiOut = {"Emulated Yamaha A3000 via MIDI", "Loopback"};
    installed.userName = "My A3000";
    std::vector<std::string> programs;
    std::vector<std::string> zones;
    std::vector<int> keys;
    SMenuRoundTrip trip;
    RunSamplerMenuRoundTrip(installed, [&](CABCSamplerInterface& device, int) {
        auto* a3000 = dynamic_cast<CABCA3000Interface*>(&device);
        ASSERT_NE(a3000, nullptr);
        programs = a3000->ObjectList(true).NamesOf(a3000::kSampleBankObject);
        if (!programs.empty())
            for (const a3000::SBankMember& member : a3000->GetSampleBank(programs.front()).members) {
                keys.push_back(member.keyLow);
                zones.push_back(member.name);
            }
    }, trip);
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    ::unsetenv("QUORVEL_MIDI_BAUD");

    const std::vector<std::string>& alerts = trip.alerts;
    const int sliceCount = trip.sliceCount;
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    ASSERT_GT(sliceCount, 1);
    EXPECT_EQ(programs, std::vector<std::string>{"Unnamed SmpBank"});
    ASSERT_EQ(static_cast<int>(keys.size()), sliceCount);
    for (int k = 0; k < sliceCount; ++k) {
        EXPECT_EQ(keys[static_cast<size_t>(k)], 36 + k);
        EXPECT_EQ(zones[static_cast<size_t>(k)], (k < 9 ? "Unnamed SmpBa 0" : "Unnamed SmpBa ") + std::to_string(k + 1));
    }
    ASSERT_FALSE(trip.firstSlice.empty());
    EXPECT_EQ(trip.received, trip.firstSlice);
}

} // namespace
} // namespace quorvel::test
