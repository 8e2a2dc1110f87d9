// The program with an emulated K2000 at start-up: the loop goes to it from
// the Sampler menu as sound blocks, a keymap and a program on the defaults,
// and Receive brings the first slice back into a new window, sample for
// sample.
#include <gtest/gtest.h>

#include <cstdlib>

#include "SamplerMenuRoundTrip.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/K2000Keymap.h"
#include "samplers/kurzweil/K2000Program.h"

namespace quorvel::test {
namespace {

constexpr uint16_t kSuggestedId = 200;

TEST(K2000TransferTest, TheMenuLeavesAPlayableProgramOnTheEmulatedK2000AndReceiveBringsASliceBack)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "1000", 1);
    ::unsetenv("QUORVEL_EMULATOR_DIR");
    CPersistentInstalledSampler k2000;
    k2000.modelTypeId = 1000;
    k2000.modelName = "Kurzweil K2000 via MIDI";
    k2000.midiIn = {"Emulated Kurzweil K2000 via MIDI", "Loopback"};
    k2000.midiOut = {"Emulated Kurzweil K2000 via MIDI", "Loopback"};
    k2000.userName = "My K2000";
    std::string programName;
    std::vector<uint16_t> placed; // the block each key from 36 plays
    SMenuRoundTrip trip;
    RunSamplerMenuRoundTrip(k2000, [&](CABCSamplerInterface& device, int sliceCount) {
        auto* kurzweil = dynamic_cast<CABCK2000Interface*>(&device);
        ASSERT_NE(kurzweil, nullptr);
        CK2000Program program(kSuggestedId);
        kurzweil->Objects().Read(program, 4000);
        programName = program.Name();
        CK2000Keymap keymap(CK2000Program::KeymapOf(program.Layers().front()));
        kurzweil->Objects().Read(keymap, 4000);
        for (int k = 0; k < sliceCount; ++k)
            placed.push_back(keymap.LevelTable(CK2000Keymap::kSliceLevel)
                                 .at(static_cast<size_t>(keymap.EntryIndexOfKey(36 + k)))
                                 .soundBlock);
    }, trip);
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");

    const std::vector<std::string>& alerts = trip.alerts;
    const int sliceCount = trip.sliceCount;
    ASSERT_EQ(alerts.size(), 1u) << (alerts.empty() ? "" : alerts.back());
    EXPECT_NE(alerts.front().find("No template program specified"), std::string::npos) << "answered Yes: defaults";
    ASSERT_GT(sliceCount, 1);
    EXPECT_EQ(programName, "Demo");
    ASSERT_EQ(static_cast<int>(placed.size()), sliceCount);
    for (int k = 0; k < sliceCount; ++k)
        EXPECT_EQ(placed[static_cast<size_t>(k)], kSuggestedId + k) << "the blocks reserved from the program's bank";
    ASSERT_FALSE(trip.firstSlice.empty());
    EXPECT_EQ(trip.received, trip.firstSlice);
}

} // namespace
} // namespace quorvel::test
