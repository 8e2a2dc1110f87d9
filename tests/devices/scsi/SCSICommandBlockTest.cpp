// Command block lengths and construction, and the registry's slot rules.
#include <gtest/gtest.h>

#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIExceptions.h"

namespace quorvel {
namespace {

TEST(SCSICommandBlock, LengthFollowsTheOperationCodeGroup)
{
    const struct {
        uint8_t opcode;
        size_t length;
    } cases[] = {{0x00, 6},  {0x12, 6},  {0x1F, 6},  {0x20, 10}, {0x28, 10}, {0x3F, 10}, {0x40, 0},
                 {0x5F, 0},  {0x60, 0},  {0x80, 0},  {0xA0, 12}, {0xA8, 12}, {0xBF, 12}, {0xC0, 0},
                 {0xE0, 0},  {0xFF, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CommandBlockLength(c.opcode), c.length) << "opcode " << int(c.opcode);
}

TEST(SCSICommandBlock, SixBytesWithTheOpcodeAndA24BitAddress)
{
    auto block = MakeCommandBlock(0x12);
    EXPECT_EQ(block, (SixByteBlock{0x12, 0, 0, 0, 0, 0}));
    SetBlockAddress(block, 0xAB123456); // the top byte does not fit and is dropped
    EXPECT_EQ(block, (SixByteBlock{0x12, 0, 0x12, 0x34, 0x56, 0}));
}

TEST(SCSIExceptions, SitUnderTheDeviceTree)
{
    EXPECT_THROW(throw XSCSICommunicationException(), XExternalDeviceCommunicationError);
    EXPECT_THROW(throw XSCSICommunicationException(), XExternalDeviceException);
    EXPECT_THROW(throw XSCSI(), XBase);
    // The interface failing is not a device answering badly.
    bool caughtAsDevice = false;
    try {
        throw XSCSI();
    } catch (const XExternalDeviceException&) {
        caughtAsDevice = true;
    } catch (const XBase&) {
    }
    EXPECT_FALSE(caughtAsDevice);
}

std::unique_ptr<CSCSIBus> NamedBus(const std::string& name)
{
    // A Loopback bus is the one concrete bus that needs no hardware; the
    // registry only cares about names.
    struct Named final : CSCSIBus {
        explicit Named(const std::string& n) : CSCSIBus(n, "Test", 7, 0) {}
        SCSIResult Execute(const SCSIDevice&, const uint8_t*, ESCSIDirection, uint8_t*, size_t) override { return {}; }
    };
    return std::make_unique<Named>(name);
}

TEST(SCSIBusRegistry, ThirtySlotsFirstFreeFirstAndRemovalByName)
{
    CSCSIBusRegistry registry;
    for (int i = 0; i < 30; ++i)
        EXPECT_TRUE(registry.Register(NamedBus("bus" + std::to_string(i))));
    EXPECT_FALSE(registry.Register(NamedBus("bus30")));
    EXPECT_EQ(registry.Count(), 30u);
    EXPECT_EQ(registry.Find("bus30"), nullptr);

    registry.Remove("bus1");
    registry.Remove("bus3");
    EXPECT_EQ(registry.Count(), 28u);
    EXPECT_EQ(registry.Bus(1)->Name(), "bus2"); // the n-th occupied slot
    EXPECT_EQ(registry.Bus(2)->Name(), "bus4");
    EXPECT_EQ(registry.Bus(28), nullptr);

    // New buses fill the freed slots in slot order.
    EXPECT_TRUE(registry.Register(NamedBus("twin")));
    EXPECT_TRUE(registry.Register(NamedBus("twin")));
    EXPECT_EQ(registry.Bus(1)->Name(), "twin");
    EXPECT_EQ(registry.Bus(3)->Name(), "twin");
    registry.Remove("twin"); // every bus of that name goes
    EXPECT_EQ(registry.Count(), 28u);
    EXPECT_EQ(registry.Find("twin"), nullptr);
}

TEST(SCSIBus, NameIsCutTo32Characters)
{
    const auto bus = NamedBus(std::string(40, 'x'));
    EXPECT_EQ(bus->Name(), std::string(32, 'x'));
}

} // namespace
} // namespace quorvel
