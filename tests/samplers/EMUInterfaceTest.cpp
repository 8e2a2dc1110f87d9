#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/SamplerModels.h"
#include "samplers/emu/EMUSCSIInterface.h"
#include "samplers/emu/EMUSamplerClasses.h"

using namespace quorvel;

namespace {

SampleInfo Info(uint32_t rate, uint32_t length)
{
    SampleInfo info;
    info.SetName("KICK 01");
    info.channelCount = 1;
    info.bits = 16;
    info.rate = rate;
    info.length = info.playEnd = length;
    info.playStart = 3;
    info.rootKey = 60;
    return info;
}

// Answers INQUIRY with fixed texts, or with a result kind.
class InquiryTarget final : public ISCSITarget {
public:
    InquiryTarget(std::string product, std::string revision) : product_(std::move(product)), revision_(std::move(revision)) {}
    SCSIResult Command(const uint8_t* block, ESCSIDirection, uint8_t* data, size_t length) override
    {
        if (failWith)
            return SCSIResult{*failWith};
        if (block[0] != kSCSIInquiry)
            return CheckCondition(0x05, 0x20);
        std::array<uint8_t, 36> answer{};
        answer.fill(' ');
        answer[0] = 3;
        std::memcpy(&answer[8], "E-mu", 4);
        std::memcpy(&answer[16], product_.data(), std::min<size_t>(product_.size(), 16));
        std::memcpy(&answer[32], revision_.data(), std::min<size_t>(revision_.size(), 4));
        std::memcpy(data, answer.data(), std::min(length, answer.size()));
        return {};
    }
    std::optional<int32_t> failWith;

private:
    std::string product_;
    std::string revision_;
};

} // namespace

TEST(EMUInterfaceTest, RatesSnapUpToWhatTheSamplerPlays)
{
    EXPECT_EQ(EMUSampleRate(44100), 44100u);
    EXPECT_EQ(EMUSampleRate(40000), 44100u);
    EXPECT_EQ(EMUSampleRate(50000), 48000u);
    EXPECT_EQ(EMUSampleRate(9000), 11025u);
    EXPECT_EQ(EMUSampleRate(1), 8000u);
    EXPECT_EQ(EMUSampleRate(48001), 48000u);
    EXPECT_EQ(EMUSampleRate(32000), 32000u);
}

TEST(EMUInterfaceTest, AdaptingPadsShortSamplesAndKeepsWhatTheHeaderCarries)
{
    CEMUSCSIInterface emu(SCSIDevice{});
    SampleInfo shortOne = Info(40000, 5);
    emu.AdaptSampleInfo(shortOne);
    EXPECT_EQ(shortOne.rate, 44100u);
    EXPECT_EQ(shortOne.length, 10u);
    EXPECT_EQ(shortOne.playStart, 0u);
    EXPECT_EQ(shortOne.Name(), "KICK 01");

    // Adapting is idempotent: the result is what the sampler holds unchanged.
    SampleInfo again = shortOne;
    emu.AdaptSampleInfo(again);
    EXPECT_EQ(again, shortOne);
    EXPECT_TRUE(emu.IsSampleInfoExact(shortOne));

    SampleInfo tenFrames = Info(22050, 10);
    emu.AdaptSampleInfo(tenFrames);
    EXPECT_EQ(tenFrames.length, 10u);
    EXPECT_EQ(tenFrames.rate, 22050u);
}

TEST(EMUInterfaceTest, CapabilitiesNameTheProtocolAndNumbersOneTo999)
{
    CEMUSCSIInterface emu(SCSIDevice{});
    SamplerCapabilities capabilities;
    capabilities.features.fill(9);
    emu.GetCapabilities(capabilities);
    EXPECT_STREQ(capabilities.protocolName, "E-mu SCSI");
    EXPECT_EQ(capabilities.brandNumber, 74);
    const std::array<uint8_t, 24> flags{0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(capabilities.features, flags);
    EXPECT_EQ(capabilities.brandCount, 256);
    EXPECT_EQ(capabilities.brandBytes, (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(capabilities.lowestSampleNumber, 1);
    EXPECT_EQ(capabilities.highestSampleNumber, 999);
}

TEST(EMUSamplerClassesTest, OneClassForEveryEmuRowOfTheModelTableInItsOrder)
{
    std::vector<uint32_t> tableRows;
    for (const SSamplerModel& model : SamplerModels())
        if (model.name.starts_with("E-mu "))
            tableRows.push_back(model.typeId);
    std::vector<uint32_t> classes;
    for (const auto& modelClass : EMUSamplerClasses())
        classes.push_back(modelClass->Model().typeId);
    EXPECT_EQ(classes, tableRows);

    EXPECT_NE(dynamic_cast<CEMUESiSCSISamplerClass*>(EMUSamplerClass(5001).get()), nullptr);
    EXPECT_NE(dynamic_cast<CEMUESiSCSISamplerClass*>(EMUSamplerClass(5011).get()), nullptr);
    EXPECT_NE(dynamic_cast<CEMUE4SCSISamplerClass*>(EMUSamplerClass(5101).get()), nullptr);
    EXPECT_NE(dynamic_cast<CEMUE4SCSISamplerClass*>(EMUSamplerClass(5221).get()), nullptr);
    EXPECT_EQ(EMUSamplerClass(4100), nullptr);
    EXPECT_EQ(EMUSamplerClass(5001)->Model().name, "E-mu ESI-32 via SCSI");
}

TEST(EMUSamplerClassesTest, ReadingTheVersionAsksTheTargetWhetherItIsTheModel)
{
    CLoopbackSCSIBus bus;
    auto eos = std::make_shared<InquiryTarget>("Emulator IV", "4.70");
    auto esi = std::make_shared<InquiryTarget>("ESi-4000 Sampler", "3.02");
    const SCSIDevice eosDevice{&bus, bus.AddTarget(eos), 1000};
    const SCSIDevice esiDevice{&bus, bus.AddTarget(esi), 1000};

    CVersion version;
    EXPECT_TRUE(CEOSSCSISamplerClass().ReadOSVersion(eosDevice, version));
    EXPECT_EQ(version, (CVersion{4, 70, 0}));
    EXPECT_TRUE(CE4KSCSISamplerClass().ReadOSVersion(eosDevice, version));
    EXPECT_FALSE(CESi32SCSISamplerClass().ReadOSVersion(eosDevice, version));

    version = {};
    EXPECT_TRUE(CESi4000SCSISamplerClass().ReadOSVersion(esiDevice, version));
    EXPECT_EQ(version, (CVersion{3, 2, 0}));
    EXPECT_FALSE(CESi32SCSISamplerClass().ReadOSVersion(esiDevice, version));
    EXPECT_FALSE(CEOSSCSISamplerClass().ReadOSVersion(esiDevice, version));

    // A target that does not answer is a failure, not a "no".
    esi->failWith = kSCSINoDevice;
    EXPECT_THROW(CESi4000SCSISamplerClass().ReadOSVersion(esiDevice, version), XSCSICommunicationException);
    const SCSIDevice nowhere{&bus, 5, 1000};
    EXPECT_THROW(CESi4000SCSISamplerClass().ReadOSVersion(nowhere, version), XBase);
}
