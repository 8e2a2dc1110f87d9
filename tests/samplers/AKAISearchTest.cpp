// An AKAI sampler found by its answer to the status request during the MIDI
// search, and an installed one asked for its version on Loopback MIDI ports.
#include <gtest/gtest.h>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"
#include "framework/EmbeddedResources.h"
#include "framework/TextResources.h"
#include "samplers/SamplerBrands.h"
#include "samplers/akai/AKAIMIDIInterface.h"
#include "SearchTestDoubles.h"

namespace quorvel {
namespace {

using namespace test;

// A status report: version 4.40, then memory figures and the channel.
Bytes StatusReport(uint8_t channel, uint8_t major, uint8_t minor)
{
    return {0xF0, 0x47, channel, 0x01, 0x48, minor, major, 0, 4, 0, 3, 0, 0, 0x40, 0, 0, 0, 0x20, 0, channel, 0xF7};
}

Bytes StatusRequest(uint8_t channel) { return {0xF0, 0x47, channel, 0x00, 0x48, 0xF7}; }

TEST(AKAISearch, AnS1000AnswersTheStatusRequestAndIsFound)
{
    CMIDIPortLists ports;
    CSCSIBusRegistry buses;
    CInstalledSamplers installed;
    const SLoopbackMIDIDevice cable = AddLoopbackMIDIPorts(ports, "S1000 Cable", 0);
    IdentityResponder responder({cable}, 2, StatusReport(2, 4, 40), StatusRequest(2));
    ReplyAwareClock clock(&responder);
    CScopedMIDIClock scoped(clock);
    RecordingProgress progress;
    const SSamplerSearchResult result =
        SearchForSamplers({ports, buses}, installed, BuiltInTextResources(), progress);
    ASSERT_EQ(result.found.size(), 1u);
    const SFoundSampler& found = result.found[0].sampler;
    EXPECT_EQ(found.typeId, 4000u);
    EXPECT_EQ(found.sysexId, 2);
    EXPECT_EQ(found.midiIn, (SDeviceName{"S1000 Cable", "Loopback"}));
    EXPECT_EQ(found.osVersion, (CVersion{4, 40, 0}));
    EXPECT_EQ(responder.replies, 1);
}

TEST(AKAISearch, AnInstalledSamplerTellsItsVersionAndGetsItsInterface)
{
    CMIDIPortLists ports;
    CSCSIBusRegistry buses;
    const SLoopbackMIDIDevice cable = AddLoopbackMIDIPorts(ports, "S3000 Cable", 0);
    IdentityResponder responder({cable}, 0, StatusReport(0, 2, 0), StatusRequest(0));
    ReplyAwareClock clock(&responder);
    CScopedMIDIClock scoped(clock);

    CPersistentInstalledSampler s3000;
    s3000.modelTypeId = 4100;
    s3000.sysexId = 0;
    s3000.midiIn = {"S3000 Cable", "Loopback"};
    s3000.midiOut = {"S3000 Cable", "Loopback"};
    const SSamplerDevices devices{ports, buses};
    CVersion version;
    EXPECT_TRUE(ReadOSVersion(s3000, devices, version));
    EXPECT_EQ(version, (CVersion{2, 0, 0}));

    // Another channel answers nothing.
    s3000.sysexId = 5;
    EXPECT_THROW(ReadOSVersion(s3000, devices, version), XSysexTimedOut);

    const std::unique_ptr<CABCSamplerInterface> sampler = CreateSamplerInterface(s3000, devices);
    const auto* akai = dynamic_cast<CAKAIMIDIInterface*>(sampler.get());
    ASSERT_NE(akai, nullptr);
    EXPECT_EQ(akai->Generation(), akai::EGeneration::S3000);
}

} // namespace
} // namespace quorvel
