#include <gtest/gtest.h>

#include <sstream>

#include "EnsoniqTestBench.h"

using namespace quorvel;
using namespace quorvel::test;

TEST(EnsoniqEmulatorFaults, BusyAsksForTimeUntilAcknowledgedOrCancelled)
{
    EnsoniqTestBench bench("3020", {{"busy", true, 2}});
    EXPECT_EQ(bench.Ask(Address(0x15, 0, 0, 1)), Status(1));
    EXPECT_EQ(bench.Ask(Address(0x03, 0, 0, 1)), Status(0x17)); // still at it
    EXPECT_EQ(bench.Ask(Status(0)), Status(1));
    EXPECT_EQ(bench.Ask(Status(0)), Status(0));
    // A wave data block asks for time too; CANCEL drops it.
    EXPECT_EQ(bench.Ask(Address(0x16, 0, 0, 1)), Status(1));
    EXPECT_EQ(bench.Ask(Status(0)), Status(1));
    EXPECT_EQ(bench.Ask(Status(0)), Status(0));
    EXPECT_EQ(bench.Put(Range(0x0F, 0, 0, 1, 0, 2), {1, 2}), std::make_pair(Status(0), Status(1)));
    EXPECT_EQ(bench.Ask(EnsoniqMessage(0x02, {})), Status(0));
    EXPECT_EQ(bench.Get(Range(0x06, 0, 0, 1, 0, 2)), (std::vector<uint16_t>{0x4000, 0x4000}));
}

TEST(EnsoniqEmulatorFaults, ErrorOutOfMemoryAndSilent)
{
    {
        EnsoniqTestBench bench("3000", {{"error", true, 12}, {"error-at", true, 2}});
        EXPECT_EQ(bench.Ask(Address(0x15, 0, 0, 1)), Status(0));
        EXPECT_EQ(bench.Ask(Address(0x16, 0, 0, 1)), Status(12));
        EXPECT_EQ(bench.Ask(Address(0x04, 0, 0, 1)), Status(6)); // the second was not carried out
    }
    {
        EnsoniqTestBench bench("3010", {{"out-of-memory", false, 0}});
        EXPECT_EQ(bench.Ask(Address(0x15, 0, 0, 1)), Status(12));
    }
    EnsoniqTestBench bench("3010", {{"silent", false, 0}});
    bench.Send(Address(0x15, 0, 0, 1));
    bench.Send(Address(0x16, 0, 0, 1));
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_TRUE(bench.emulator->Memory().Instruments()[0]->layers[0].has_value());
}

TEST(EnsoniqEmulatorFaults, TheModelsAndTheirFaultsAreTakenFromTheEnvironmentTexts)
{
    std::ostringstream warnings;
    const SEmulatorSettings settings =
        ParseEmulatorSettings("3000, 3010,3020", nullptr, "error:12,error-at:3,out-of-memory,busy:2", warnings);
    EXPECT_EQ(settings.samplers, (std::vector<std::string>{"3000", "3010", "3020"}));
    EXPECT_EQ(settings.faults, (std::vector<SEmulatorFault>{
                                   {"error", true, 12}, {"error-at", true, 3}, {"out-of-memory", false, 0},
                                   {"busy", true, 2}}));
    EXPECT_EQ(warnings.str(), "");
}
