// The Linux SCSI generic driver: status decoding, the listing against a
// made-up sysfs tree, and (where the machine has a usable node) the kernel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "devices/scsi/LinuxSGBus.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusChoices.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIExceptions.h"
#include "devices/scsi/SGStatus.h"
#include "framework/EmbeddedResources.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

TEST(SGStatus, HostDriverAndTargetStatusesGiveTheResultKinds)
{
    const struct {
        uint8_t status;
        uint16_t host;
        uint16_t driver;
        int32_t kind;
    } cases[] = {
        {0x00, 0x00, 0x00, kSCSIGood},
        {0x00, 0x01, 0x00, kSCSINoDevice},          // no connect: selection time-out
        {0x00, 0x04, 0x00, kSCSINoDevice},          // bad target
        {0x00, 0x03, 0x00, kSCSITimeOut},
        {0x00, 0x05, 0x00, kSCSIAborted},
        {0x00, 0x07, 0x00, kSCSIAdapterFailure},    // host error
        {0x00, 0x08, 0x00, kSCSIAdapterFailure},    // bus reset
        {0x02, 0x07, 0x08, kSCSIAdapterFailure},    // the host failing wins over the target
        {0x00, 0x00, 0x06, kSCSITimeOut},           // the mid level timed the command out
        {0x02, 0x00, 0x08, kSCSICheckCondition},
        {0x08, 0x00, 0x00, kSCSIBusy},
        {0x18, 0x00, 0x00, kSCSIReservationConflict},
        {0x28, 0x00, 0x00, kSCSIQueueFull},
        {0x09, 0x00, 0x00, kSCSIBusy},              // a vendor bit does not hide busy
        {0x10, 0x00, 0x00, 0x10},                   // intermediate: passed on as it is
        {0x00, 0x00, 0x04, kSCSIAdapterFailure},    // driver error with a good target
        {0x00, 0x00, 0x08, kSCSIGood},              // sense valid alone is no failure
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeSGStatus(SSGStatus{c.status, c.host, c.driver, nullptr, 0}).kind, c.kind)
            << "status " << int(c.status) << " host " << c.host << " driver " << c.driver;
}

TEST(SGStatus, CheckConditionKeepsFourteenSenseBytes)
{
    uint8_t sense[18];
    for (int i = 0; i < 18; ++i)
        sense[i] = static_cast<uint8_t>(0x70 + i);
    const SCSIResult check = DecodeSGStatus(SSGStatus{0x02, 0, 0x08, sense, 18});
    EXPECT_EQ(check.senseLength, 14);
    EXPECT_TRUE(std::equal(sense, sense + 14, check.sense.begin()));
    EXPECT_EQ(check.sense[14], 0); // nothing past the fourteenth byte

    const SCSIResult shortSense = DecodeSGStatus(SSGStatus{0x02, 0, 0x08, sense, 8});
    EXPECT_EQ(shortSense.senseLength, 8);
    EXPECT_EQ(shortSense.sense[8], 0);
}

// A sysfs and /dev tree of our own in a temporary folder.
class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("quorvel-sg-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "dev");
        paths_.sysRoot = (root_ / "sys").string();
        paths_.devRoot = (root_ / "dev").string();
    }
    void TearDown() override { fs::remove_all(root_); }

    void Host(unsigned number, const std::string& procName, const std::string& thisId)
    {
        const fs::path folder = root_ / "sys/class/scsi_host" / ("host" + std::to_string(number));
        fs::create_directories(folder);
        std::ofstream(folder / "proc_name") << procName << '\n';
        std::ofstream(folder / "this_id") << thisId << '\n';
    }
    void Device(const std::string& address, const std::string& node, bool nodeExists = true)
    {
        const fs::path folder = root_ / "sys/class/scsi_device" / address / "device/scsi_generic" / node;
        fs::create_directories(folder);
        if (nodeExists)
            std::ofstream(root_ / "dev" / node) << "";
    }

    fs::path root_;
    SLinuxSGPaths paths_;
};

TEST_F(FakeSysfs, HostsWithUsableTargetNodesBecomeBuses)
{
    Host(0, "ahci", "-1");
    Host(2, "aic7xxx", "7");
    Host(3, "usb-storage", "-1");
    Device("0:0:0:0", "sg0", false); // a disk whose node is missing
    Device("2:0:5:0", "sg2");
    Device("2:0:5:1", "sg3");        // a second logical unit is not a target of its own
    Device("2:0:1:0", "sg4");
    Device("9:0:0:0", "sg5");        // a device of a host that is not listed
    Device("bogus", "sg6");
    fs::create_directories(root_ / "sys/class/scsi_host/hostX");
    fs::create_directories(root_ / "sys/module/sg");
    std::ofstream(root_ / "sys/module/sg/version") << "3.5.36\n";

    const auto hosts = ListLinuxSGHosts(paths_);
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(hosts[0].number, 2u);
    EXPECT_EQ(hosts[0].name, "host2 (aic7xxx)");
    EXPECT_EQ(hosts[0].adapterId, 7);
    EXPECT_EQ(hosts[0].targetNodes, (std::map<uint8_t, std::string>{{1, paths_.devRoot + "/sg4"},
                                                                     {5, paths_.devRoot + "/sg2"}}));

    CSCSIBusRegistry registry;
    EXPECT_EQ(RegisterLinuxSGBuses(registry, paths_), 1u);
    CSCSIBus* bus = registry.Find("host2 (aic7xxx)");
    ASSERT_NE(bus, nullptr);
    EXPECT_EQ(bus->DriverName(), "Linux SG");
    EXPECT_EQ(bus->AdapterNumber(), 2);
    EXPECT_EQ(bus->TargetCount(), 8);
    EXPECT_EQ(bus->DriverVersion(), (CVersion{3, 5, 36}));
}

TEST_F(FakeSysfs, NoTreeOrNoNodesMeansNoBuses)
{
    CSCSIBusRegistry registry;
    EXPECT_EQ(RegisterLinuxSGBuses(registry, paths_), 0u);
    Host(0, "ahci", "-1");
    Device("0:0:0:0", "sg0", false);
    EXPECT_EQ(RegisterLinuxSGBuses(registry, paths_), 0u);
    EXPECT_EQ(registry.Count(), 0u);
    EXPECT_EQ(SCSIBusChoices(registry, BuiltInTextResources()), std::vector<std::string>{"No SCSI available"});

    registry.Register(std::make_unique<CLoopbackSCSIBus>());
    EXPECT_EQ(SCSIBusChoices(registry, BuiltInTextResources()), std::vector<std::string>{"Loopback"});
}

TEST_F(FakeSysfs, AnAbsentTargetIsNoDeviceAndARefusedCommandThrows)
{
    Host(1, "fake", "-1");
    Device("1:0:2:0", "sg1");
    const auto hosts = ListLinuxSGHosts(paths_);
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(hosts[0].adapterId, 7); // -1: the usual initiator id
    EXPECT_EQ(hosts[0].driverVersion, CVersion{}); // no version file
    CLinuxSGBus bus(hosts[0]);
    const auto ready = MakeCommandBlock(kSCSITestUnitReady);
    EXPECT_EQ(bus.ExecuteNoData(SCSIDevice{&bus, 3, 1000}, ready.data()).kind, kSCSINoDevice);
    // The node is a plain file here, so the kernel refuses SG_IO on it.
    EXPECT_THROW(bus.ExecuteNoData(SCSIDevice{&bus, 2, 1000}, ready.data()), XSCSI);
}

TEST(LinuxSG, TestUnitReadyAndInquiryReachTheKernel)
{
    const auto hosts = ListLinuxSGHosts();
    if (hosts.empty())
        GTEST_SKIP() << "no usable SCSI generic node on this machine";
    CLinuxSGBus bus(hosts[0]);
    const uint8_t target = hosts[0].targetNodes.begin()->first;
    const SCSIDevice device{&bus, target, 5000};
    const auto ready = MakeCommandBlock(kSCSITestUnitReady);
    const SCSIResult readiness = bus.ExecuteNoData(device, ready.data());
    EXPECT_TRUE(readiness.kind == kSCSIGood || readiness.kind == kSCSICheckCondition) << readiness.kind;
    auto inquiry = MakeCommandBlock(kSCSIInquiry);
    inquiry[4] = 36;
    uint8_t answer[36] = {};
    EXPECT_EQ(bus.ExecuteIn(device, inquiry.data(), sizeof answer, answer).kind, kSCSIGood);
    EXPECT_NE(answer[4], 0); // every device reports how much more it has to say
}

} // namespace
} // namespace quorvel
