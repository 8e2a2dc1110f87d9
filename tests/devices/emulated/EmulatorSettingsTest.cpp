#include <gtest/gtest.h>

#include <sstream>

#include "devices/emulated/EmulatedSamplers.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/SDSEmulator.h"

using namespace quorvel;

TEST(EmulatorSettings, ListsAreParsedAndWhatIsNotBuiltIsReportedOnce)
{
    std::ostringstream warnings;
    const SEmulatorSettings settings =
        ParseEmulatorSettings(" sds , 9999,,sds,9999 ", "/tmp/mem", "nak-once:5, silent,bogus:1,bogus:1", warnings);
    EXPECT_EQ(settings.samplers, std::vector<std::string>{"sds"});
    EXPECT_EQ(settings.folder, "/tmp/mem");
    ASSERT_EQ(settings.faults.size(), 2u);
    EXPECT_EQ(settings.faults[0], (SEmulatorFault{"nak-once", true, 5}));
    EXPECT_EQ(settings.faults[1], (SEmulatorFault{"silent", false, 0}));
    ASSERT_NE(settings.FindFault("silent"), nullptr);
    EXPECT_EQ(settings.FindFault("wait"), nullptr);
    const std::string text = warnings.str();
    // One line each: 9999 not built (though listed twice), sds twice, the unknown fault.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_NE(text.find("\"9999\""), std::string::npos);
    EXPECT_NE(text.find("bogus:1"), std::string::npos);
}

TEST(EmulatorSettings, UnsetAndMalformedValues)
{
    std::ostringstream quiet;
    const SEmulatorSettings none = ParseEmulatorSettings(nullptr, nullptr, nullptr, quiet);
    EXPECT_TRUE(none.samplers.empty());
    EXPECT_TRUE(none.folder.empty());
    EXPECT_TRUE(none.faults.empty());
    EXPECT_EQ(quiet.str(), "");

    std::ostringstream warnings;
    const SEmulatorSettings bad = ParseEmulatorSettings(
        "", "", "nak-once, wait:-5, wait:2x, cancel:99999999999, silent:3, wait:2000, busy:3", warnings);
    ASSERT_EQ(bad.faults.size(), 2u);
    EXPECT_EQ(bad.faults[0], (SEmulatorFault{"wait", true, 2000}));
    EXPECT_EQ(bad.faults[1], (SEmulatorFault{"busy", true, 3}));
    const std::string text = warnings.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
}

TEST(EmulatedSamplers, EachMIDIEmulatorAddsItsLoopbackPortPair)
{
    CMIDIPortLists ports;
    std::ostringstream warnings;
    std::ostringstream parseWarnings;
    const SEmulatorSettings settings = ParseEmulatorSettings("sds,9999", nullptr, nullptr, parseWarnings);
    CEmulatedSamplers samplers(ports, settings, SteadyEmulatorClock(), 0, warnings);
    ASSERT_EQ(samplers.MIDIEmulators().size(), 1u);
    ASSERT_EQ(ports.inputs.size(), 1u);
    ASSERT_EQ(ports.outputs.size(), 1u);
    EXPECT_EQ(ports.inputs[0]->Name(), "Emulated SDS");
    EXPECT_EQ(ports.outputs[0]->Name(), "Emulated SDS");
    EXPECT_EQ(ports.inputs[0]->DriverKind(), "Loopback");
    EXPECT_EQ(ports.outputs[0]->DriverKind(), "Loopback");
    EXPECT_NE(parseWarnings.str().find("\"9999\""), std::string::npos);
    EXPECT_EQ(warnings.str(), "");
}

TEST(EmulatedSamplers, StartFromTheEnvironmentOnlyWhenAskedFor)
{
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    CMIDIPortLists none;
    EXPECT_EQ(StartEmulatedSamplersFromEnvironment(none), nullptr);
    EXPECT_TRUE(none.inputs.empty());

    ::setenv("QUORVEL_EMULATED_SAMPLERS", "sds", 1);
    CMIDIPortLists ports;
    std::unique_ptr<CEmulatedSamplers> samplers = StartEmulatedSamplersFromEnvironment(ports);
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    ASSERT_NE(samplers, nullptr);
    EXPECT_NE(ports.FindInput("Emulated SDS"), nullptr);
    EXPECT_NE(ports.FindOutput("Emulated SDS"), nullptr);
}
