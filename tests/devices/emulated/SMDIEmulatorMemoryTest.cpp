// The emulated SMDI sampler's memory folder, and the SCSI emulators at
// start-up: the Loopback bus with one target per emulator in list order.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "SMDITestMaster.h"
#include "devices/emulated/DevicesAtStartUp.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/scsi/SCSITargetListing.h"
#include "framework/EmbeddedResources.h"

namespace quorvel::test {
namespace {

class SMDIEmulatorMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvel-smdi-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

TEST_F(SMDIEmulatorMemory, SamplesOutliveTheEmulatorAndDeletingRemovesTheFile)
{
    SHeaderFields header;
    header.number = 12;
    header.channels = 2;
    header.length = 5000;
    header.name = "Snare";
    header.extra = {1, 2, 3};
    const Bytes data = PatternData(2, 10000);
    {
        CSMDIMaster first("5221", "", folder_.string());
        ASSERT_EQ(CodeOf(first.Transmit(header, data)), kEndOfProcedure);
    }
    EXPECT_TRUE(std::filesystem::exists(folder_ / "sample-00000012.smdi"));
    // Files that are not whole samples are passed over.
    std::ofstream(folder_ / "sample-00000013.smdi") << "SMDI";
    std::ofstream(folder_ / "notes.txt") << "hello";

    CSMDIMaster second("5221", "", folder_.string());
    EXPECT_EQ(second.emulator->Samples().Numbers(), std::vector<uint32_t>{12});
    EXPECT_EQ(second.Exchange(HeaderRequest(12)), HeaderMessage(header));
    const std::optional<Bytes> back = second.ReceiveSample(12, 4000, data.size());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, data);

    EXPECT_EQ(CodeOf(second.Exchange(DeleteSample(12))), kEndOfProcedure);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "sample-00000012.smdi"));
    CSMDIMaster third("5221", "", folder_.string());
    EXPECT_TRUE(third.emulator->Samples().Numbers().empty());
}

TEST_F(SMDIEmulatorMemory, TheEmulatorsAskedForSitOnTheLoopbackBusInListOrder)
{
    CMIDIPortLists ports;
    CSCSIBusRegistry buses;
    std::ostringstream warnings;
    const SEmulatorSettings settings =
        ParseEmulatorSettings("5121, sds, smdi, 5101", folder_.string().c_str(), nullptr, warnings);
    CEmulatedSamplers samplers(ports, buses, settings, SteadyEmulatorClock(), 0, warnings);
    EXPECT_EQ(warnings.str(), "");
    ASSERT_EQ(buses.Count(), 1u);
    CSCSIBus* bus = buses.Find("Loopback");
    ASSERT_NE(bus, nullptr);
    EXPECT_EQ(bus->DriverName(), "Loopback");
    const std::vector<std::string> lines = ListTargets(*bus, BuiltInTextResources());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "0: \"E-mu\" \"Emulator 4K\"");
    EXPECT_EQ(lines[1], "1: \"Quorvel\" \"SMDI Sampler\"");
    EXPECT_EQ(lines[2], "2: \"E-mu\" \"Emulator IV\"");
    EXPECT_EQ(lines[3], "3: ???");
    EXPECT_EQ(lines[7], "7: Host Adapter");
    EXPECT_NE(ports.FindInput("Emulated SDS"), nullptr);
    ASSERT_EQ(samplers.SCSIEmulators().size(), 3u);
    EXPECT_EQ(samplers.SCSIEmulators()[2]->Model().id, std::string("5101"));
}

TEST_F(SMDIEmulatorMemory, TheStartUpDevicesComeFromTheEnvironment)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "smdi,5011", 1);
    ::setenv("QUORVEL_EMULATOR_DIR", folder_.string().c_str(), 1);
    {
        CDevicesAtStartUp devices;
        ASSERT_NE(devices.Emulated(), nullptr);
        CSCSIBus* loopback = devices.SCSIBuses().Find("Loopback");
        ASSERT_NE(loopback, nullptr);
        const std::vector<std::string> lines = ListTargets(*loopback, BuiltInTextResources());
        EXPECT_EQ(lines[0], "0: \"Quorvel\" \"SMDI Sampler\"");
        EXPECT_EQ(lines[1], "1: \"E-mu\" \"ESi-4000 Sampler\"");
    }
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    ::unsetenv("QUORVEL_EMULATOR_DIR");
    CDevicesAtStartUp none;
    EXPECT_EQ(none.Emulated(), nullptr);
    EXPECT_EQ(none.SCSIBuses().Find("Loopback"), nullptr);
}

} // namespace
} // namespace quorvel::test
