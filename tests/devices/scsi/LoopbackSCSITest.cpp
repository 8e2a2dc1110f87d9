// The in-process bus: target ids, data both ways, results passed through,
// the target listing and the trace line of each command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstring>

#include <unistd.h>

#include "SCSITestTarget.h"
#include "devices/DeviceTrace.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSIExceptions.h"
#include "devices/scsi/SCSITargetListing.h"
#include "devices/scsi/SCSITrace.h"
#include "framework/EmbeddedResources.h"

namespace quorvel {
namespace {

using test::CEchoTarget;

TEST(LoopbackSCSI, TargetsTakeIdsInOrderSkippingTheAdapter)
{
    CLoopbackSCSIBus bus;
    EXPECT_EQ(bus.Name(), "Loopback");
    EXPECT_EQ(bus.DriverName(), "Loopback");
    EXPECT_EQ(bus.AdapterId(), 7);
    for (uint8_t expected : {0, 1, 2, 3, 4, 5, 6})
        EXPECT_EQ(bus.AddTarget(std::make_shared<CEchoTarget>("V", "P")), expected);
    EXPECT_THROW(bus.AddTarget(std::make_shared<CEchoTarget>("V", "P")), XSCSI);
}

TEST(LoopbackSCSI, TheRegistryHoldsOneLoopbackBus)
{
    CSCSIBusRegistry registry;
    CLoopbackSCSIBus* first = LoopbackSCSIBus(registry);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoopbackSCSIBus(registry), first);
    EXPECT_EQ(registry.Count(), 1u);
    EXPECT_EQ(registry.Find("Loopback"), first);
}

TEST(LoopbackSCSI, DataGoesOutAndComesBackAndResultsPassThrough)
{
    CLoopbackSCSIBus bus;
    auto target = std::make_shared<CEchoTarget>("EMU", "E4");
    const uint8_t id = bus.AddTarget(target);
    const SCSIDevice device{&bus, id, 1000};

    const uint8_t write[10] = {0x2A, 0, 0, 0, 0, 0, 0, 0, 4, 0};
    const uint8_t payload[4] = {1, 2, 3, 4};
    EXPECT_TRUE(bus.ExecuteOut(device, write, sizeof payload, payload).Good());
    EXPECT_EQ(target->stored, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(target->commands.back(), (std::vector<uint8_t>(write, write + 10)));

    const uint8_t read[10] = {0x28, 0, 0, 0, 0, 0, 0, 0, 4, 0};
    uint8_t back[4] = {};
    EXPECT_TRUE(bus.ExecuteIn(device, read, sizeof back, back).Good());
    EXPECT_EQ(std::vector<uint8_t>(back, back + 4), target->stored);

    target->next = CheckCondition(0x05, 0x24);
    const auto ready = MakeCommandBlock(kSCSITestUnitReady);
    const SCSIResult failed = bus.ExecuteNoData(device, ready.data());
    EXPECT_EQ(failed.kind, kSCSICheckCondition);
    EXPECT_EQ(failed.senseLength, 14);
    EXPECT_EQ(failed.sense[2], 0x05);
    EXPECT_EQ(failed.sense[12], 0x24);
}

TEST(LoopbackSCSI, AnEmptyIdIsNoDeviceAndReachesNoTarget)
{
    CLoopbackSCSIBus bus;
    auto target = std::make_shared<CEchoTarget>("V", "P");
    bus.AddTarget(target);
    const auto ready = MakeCommandBlock(kSCSITestUnitReady);
    EXPECT_EQ(bus.ExecuteNoData(SCSIDevice{&bus, 3, 1000}, ready.data()).kind, kSCSINoDevice);
    bus.RemoveTarget(0);
    EXPECT_EQ(bus.ExecuteNoData(SCSIDevice{&bus, 0, 1000}, ready.data()).kind, kSCSINoDevice);
    EXPECT_TRUE(target->commands.empty());
    EXPECT_EQ(bus.AddTarget(target), 1); // a removed id is not handed out again
}

TEST(SCSITargetListing, OneLinePerIdFromTheProgramTexts)
{
    CLoopbackSCSIBus bus;
    bus.AddTarget(std::make_shared<CEchoTarget>("E-MU", "EIV"));
    auto busy = std::make_shared<CEchoTarget>("X", "Y");
    busy->next = SCSIResult{kSCSIBusy, {}, 0, 0};
    bus.AddTarget(busy);
    const auto lines = ListTargets(bus, BuiltInTextResources());
    EXPECT_EQ(lines, (std::vector<std::string>{"0: \"E-MU\" \"EIV\"", "1: Not Ready", "2: ???", "3: ???", "4: ???",
                                               "5: ???", "6: ???", "7: Host Adapter"}));
}

TEST(SCSITargetListing, InquiryTextsStopAtTheAnswersEnd)
{
    uint8_t answer[36];
    std::memset(answer, ' ', sizeof answer);
    std::memcpy(answer + 8, "VENDOR  PRODUCT NAME    ", 24);
    const auto full = InquiryTexts(answer, sizeof answer);
    EXPECT_EQ(full.vendor, "VENDOR");
    EXPECT_EQ(full.product, "PRODUCT NAME");
    const auto shortAnswer = InquiryTexts(answer, 12); // a target that sent less than asked
    EXPECT_EQ(shortAnswer.vendor, "VEND");
    EXPECT_EQ(shortAnswer.product, "");
}

TEST(SCSITrace, FieldsCarryBlockDirectionDataKindAndSense)
{
    const uint8_t inquiry[6] = {0x12, 0, 0, 0, 4, 0};
    const uint8_t data[2] = {0x0A, 0xFF};
    EXPECT_EQ(SCSITraceFields("Loopback", 2, inquiry, ESCSIDirection::kIn, data, 2, SCSIResult{}),
              "scsi\tLoopback:2\t12 00 00 00 04 00\tin\t0A FF\t0\t");
    const uint8_t ready[6] = {};
    const SCSIResult check = CheckCondition(0x02, 0x04, 0x01);
    EXPECT_EQ(SCSITraceFields("sg0", 5, ready, ESCSIDirection::kNone, nullptr, 0, check),
              "scsi\tsg0:5\t00 00 00 00 00 00\tnone\t\t2\t70 00 02 00 00 00 00 06 00 00 00 00 04 01");
}

TEST(SCSITrace, EveryCommandOnABusIsWrittenToAnOpenTrace)
{
    const auto path = std::filesystem::temp_directory_path() / ("scsi-trace-" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(path);
    ASSERT_TRUE(OpenDeviceTrace(path.string()));
    CLoopbackSCSIBus bus;
    bus.AddTarget(std::make_shared<CEchoTarget>("V", "P"));
    const uint8_t write[10] = {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    const uint8_t byte = 0x5A;
    bus.ExecuteOut(SCSIDevice{&bus, 0, 1000}, write, 1, &byte);
    const auto ready = MakeCommandBlock(kSCSITestUnitReady);
    bus.ExecuteNoData(SCSIDevice{&bus, 4, 1000}, ready.data());
    CloseDeviceTrace();

    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(line.find('\t') + 1));
    std::filesystem::remove(path);
    EXPECT_EQ(lines, (std::vector<std::string>{"scsi\tLoopback:0\t2A 00 00 00 00 00 00 00 01 00\tout\t5A\t0\t",
                                               "scsi\tLoopback:4\t00 00 00 00 00 00\tnone\t\t256\t"}));
}

} // namespace
} // namespace quorvel
