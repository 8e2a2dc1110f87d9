// The search for samplers against emulated and scripted devices: SCSI
// targets on a Loopback bus, an A3000 answering on Loopback MIDI ports.
#include <gtest/gtest.h>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexMIDIInput.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "samplers/yamaha/A3000Recognizer.h"

#include "SearchTestDoubles.h"

namespace quorvel::test {
namespace {

std::string Text129(uint32_t entry) { return BuiltInTextResources().Text(StringReference(129, entry)); }

class SCSISearch : public ::testing::Test {
protected:
    SCSISearch() : bus_(*LoopbackSCSIBus(buses_)) {}

    SSamplerSearchResult Search(uint32_t onlyModel = 0, int cancelAfter = -1)
    {
        RecordingProgress progress(cancelAfter);
        SSamplerSearchResult result =
            SearchForSamplers({ports_, buses_}, installed_, BuiltInTextResources(), progress, onlyModel);
        texts_ = progress.texts;
        return result;
    }

    CSteadyEmulatorClock clock_;
    CMIDIPortLists ports_;
    CSCSIBusRegistry buses_;
    CLoopbackSCSIBus& bus_;
    CInstalledSamplers installed_;
    std::vector<std::string> texts_;
};

TEST_F(SCSISearch, FindsEachEmulatedEmuOnceWithItsBusIdAndFirmware)
{
    bus_.AddTarget(EmulatedEmu("5121", clock_));
    bus_.AddTarget(EmulatedEmu("5011", clock_));
    const SSamplerSearchResult result = Search();
    ASSERT_EQ(result.found.size(), 2u);
    EXPECT_EQ(result.found[0].sampler.typeId, 5121u);
    EXPECT_EQ(result.found[0].sampler.scsiBus, (SDeviceName{"Loopback", "Loopback"}));
    EXPECT_EQ(result.found[0].sampler.scsiId, 0);
    EXPECT_TRUE(result.found[0].sampler.foundViaSCSI);
    EXPECT_FALSE(result.found[0].sampler.foundViaMIDI);
    EXPECT_TRUE(result.found[0].sampler.versionKnown);
    EXPECT_EQ(result.found[1].sampler.typeId, 5011u);
    EXPECT_EQ(result.found[1].sampler.scsiId, 1);
    for (const SSearchFinding& finding : result.found)
        EXPECT_TRUE(finding.doubleNote.empty());
    EXPECT_EQ(texts_, (std::vector<std::string>{Text129(41), Text129(42)}));
    EXPECT_TRUE(SearchAlerts(result).empty());

    // Searching for one model keeps only that model.
    const SSamplerSearchResult esi = Search(5011);
    ASSERT_EQ(esi.found.size(), 1u);
    EXPECT_EQ(esi.found[0].sampler.scsiId, 1);
}

TEST_F(SCSISearch, ASamplerEqualToAnInstalledOneIsReportedAsDouble)
{
    bus_.AddTarget(EmulatedEmu("5121", clock_));
    bus_.AddTarget(EmulatedEmu("5121", clock_));
    CPersistentInstalledSampler& mine = installed_.Add(*FindSamplerModel(5121), "Studio E4K");
    mine.scsiBus = {"Loopback", "Loopback"};
    mine.scsiId = 1;
    const SSamplerSearchResult result = Search();
    ASSERT_EQ(result.found.size(), 2u);
    EXPECT_TRUE(result.found[0].doubleNote.empty()) << "another target is another sampler";
    EXPECT_EQ(result.found[1].doubleNote,
              "This sampler seems to be identical to \"Studio E4K\", which is already installed in your system!");
}

TEST_F(SCSISearch, FailingAndUnknownTargetsAreSkippedAndTheRestIsStillFound)
{
    auto throwing = std::make_shared<ScriptedTarget>("E-mu", "Emulator 4K", "4.62",
                                                     ScriptedTarget::EFailure::kThrows);
    auto refusing = std::make_shared<ScriptedTarget>("E-mu", "Emulator 4K", "4.62",
                                                     ScriptedTarget::EFailure::kCheckCondition);
    auto unknown = std::make_shared<ScriptedTarget>("E-mu", "Emulator 9000", "4.62");
    auto other = std::make_shared<ScriptedTarget>("ACME", "Scanner", "1.0");
    bus_.AddTarget(throwing);
    bus_.AddTarget(refusing);
    bus_.AddTarget(unknown);
    bus_.AddTarget(other);
    bus_.AddTarget(EmulatedEmu("5221", clock_));
    const SSamplerSearchResult result = Search();
    EXPECT_EQ(throwing->inquiries, 1);
    EXPECT_EQ(refusing->inquiries, 1);
    ASSERT_EQ(result.found.size(), 1u) << "an E-mu product nobody knows is not offered";
    EXPECT_EQ(result.found[0].sampler.typeId, 5221u);
    EXPECT_EQ(result.found[0].sampler.scsiId, 4);
    EXPECT_EQ(result.failure, ESearchFailure::kNone);
}

TEST_F(SCSISearch, AnEmulatorIVOnNewFirmwareIsFoundAsAnEOSSampler)
{
    bus_.AddTarget(std::make_shared<ScriptedTarget>("E-mu", "Emulator IV", "4.10"));
    bus_.AddTarget(std::make_shared<ScriptedTarget>("E-mu", "Emulator IV", "3.02"));
    const SSamplerSearchResult result = Search();
    ASSERT_EQ(result.found.size(), 2u);
    EXPECT_EQ(result.found[0].sampler.typeId, 5101u);
    EXPECT_EQ(result.found[0].sampler.osVersion, (CVersion{4, 10, 0}));
    EXPECT_EQ(result.found[1].sampler.typeId, 5111u);
}

TEST_F(SCSISearch, CancellingStopsAtTheNextTargetAndSaysSo)
{
    auto first = std::make_shared<ScriptedTarget>("E-mu", "Emulator 4K", "4.62");
    auto second = std::make_shared<ScriptedTarget>("E-mu", "Emulator 4K", "4.62");
    bus_.AddTarget(first);
    bus_.AddTarget(second);
    const SSamplerSearchResult result = Search(0, 1);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(first->inquiries, 1);
    EXPECT_EQ(second->inquiries, 0);
    EXPECT_TRUE(result.found.empty());
    ASSERT_FALSE(texts_.empty());
    EXPECT_EQ(texts_.back(), Text129(1)); // "Cancelled!"
    EXPECT_TRUE(SearchAlerts(result).empty()) << "a cancelled search says nothing more";
}

TEST_F(SCSISearch, AnA3000OnSCSIAloneNeedsItsMIDIConnection)
{
    auto a3000 = std::make_shared<ScriptedTarget>("YAMAHA", " Sampler A3000", "0200");
    bus_.AddTarget(a3000);
    const SSamplerSearchResult result = Search();
    EXPECT_TRUE(result.found.empty());
    ASSERT_EQ(result.midiMissing, std::vector<uint32_t>{kA3000MIDIAndSCSIModel});
    EXPECT_EQ(SearchAlerts(result), (std::vector<SAlertToShow>{{83, {"Yamaha A3000 via MIDI+SCSI"}}}));
}

TEST(SearchAlerts, FollowTheOutcome)
{
    SSamplerSearchResult nothing;
    EXPECT_EQ(SearchAlerts(nothing), (std::vector<SAlertToShow>{{80, {}}}));
    EXPECT_EQ(SearchAlerts(nothing, 5121), (std::vector<SAlertToShow>{{81, {"E-mu E4K via SCSI"}}}));
    nothing.midiPortsUnavailable = true;
    EXPECT_EQ(SearchAlerts(nothing), (std::vector<SAlertToShow>{{63, {}}, {80, {}}}));
    SSamplerSearchResult failed = nothing;
    failed.failure = ESearchFailure::kOutOfMemory;
    EXPECT_EQ(SearchAlerts(failed), (std::vector<SAlertToShow>{{99, {}}}));
    failed.failure = ESearchFailure::kInternal;
    EXPECT_EQ(SearchAlerts(failed), (std::vector<SAlertToShow>{{94, {}}}));
}

TEST(SearchAlerts, NameTheMissingTransportBeforeASearch)
{
    CMIDIPortLists ports;
    CSCSIBusRegistry buses;
    const SSamplerDevices devices{ports, buses};
    EXPECT_EQ(MissingTransportAlerts(devices), (std::vector<SAlertToShow>{{4, {}}, {5, {}}}));
    EXPECT_EQ(MissingTransportAlerts(devices, kA3000MIDIAndSCSIModel), (std::vector<SAlertToShow>{{4, {}}, {5, {}}}));
    LoopbackSCSIBus(buses);
    EXPECT_TRUE(MissingTransportAlerts(devices).empty()) << "SCSI alone is worth searching";
    EXPECT_TRUE(MissingTransportAlerts(devices, 5121).empty());
    EXPECT_EQ(MissingTransportAlerts(devices, kA3000MIDIModel), (std::vector<SAlertToShow>{{4, {}}}));
}

TEST(A3000Recognizer, ReadsTheIdentityReplyAndItsVersionFromTheLowNibbles)
{
    const CRawSysex reply(A3000Reply(5, {0x30, 0x32, 0x31, 0x35}));
    const std::optional<SIdentityReply> read = ReadIdentityReply(reply);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->deviceNumber, 5);
    EXPECT_EQ(read->family, 8320);
    EXPECT_EQ(read->member, 2817);
    EXPECT_EQ(A3000VersionFromIdentity(*read), (CVersion{2, 15, 0}));

    // Another member of the family, or a short reply, is no A3000.
    Bytes otherMember = A3000Reply(5, {0, 2, 0, 0});
    otherMember[8] = 0x02;
    EXPECT_FALSE(A3000VersionFromIdentity(*ReadIdentityReply(CRawSysex(otherMember))));
    Bytes shortReply = A3000Reply(5, {0, 2, 0, 0});
    shortReply.erase(shortReply.begin() + 10);
    EXPECT_FALSE(ReadIdentityReply(CRawSysex(shortReply)));
}

// The MIDI search against an A3000 that answers the identity request for
// device number 0 (SysEx ID 1).
class MIDISearch : public ::testing::Test {
protected:
    SSamplerSearchResult Search(IdentityResponder& responder, uint32_t onlyModel = 0)
    {
        ReplyAwareClock clock(&responder);
        CScopedMIDIClock scoped(clock);
        RecordingProgress progress;
        return SearchForSamplers({ports_, buses_}, installed_, BuiltInTextResources(), progress, onlyModel);
    }

    CMIDIPortLists ports_;
    CSCSIBusRegistry buses_;
    CInstalledSamplers installed_;
};

TEST_F(MIDISearch, AnA3000AnswersTheIdentityRequestAndIsFoundOnItsPorts)
{
    AddLoopbackMIDIPorts(ports_, "Other Cable", 0);
    const SLoopbackMIDIDevice cable = AddLoopbackMIDIPorts(ports_, "A3000 Cable", 0);
    IdentityResponder responder({cable}, 0, A3000Reply(0, {0, 2, 0, 0}));
    const SSamplerSearchResult result = Search(responder);
    ASSERT_EQ(result.found.size(), 1u);
    const SFoundSampler& found = result.found[0].sampler;
    EXPECT_EQ(found.typeId, kA3000MIDIModel);
    EXPECT_EQ(found.midiIn, (SDeviceName{"A3000 Cable", "Loopback"}));
    EXPECT_EQ(found.midiOut, (SDeviceName{"A3000 Cable", "Loopback"}));
    EXPECT_EQ(found.sysexId, 0);
    EXPECT_TRUE(found.foundViaMIDI);
    EXPECT_EQ(found.osVersion, (CVersion{2, 0, 0}));
    EXPECT_EQ(responder.replies, 1);

    // Every device number got the S-760's access data set, the AKAI status
    // request and the identity request, in that order.
    const std::vector<Bytes> heard = responder.Heard();
    ASSERT_EQ(heard.size(), 3u * kSearchDeviceNumbers);
    for (uint8_t device = 0; device < kSearchDeviceNumbers; ++device) {
        EXPECT_EQ(heard[3 * device], (Bytes{0xF0, 0x41, device, 0x34, 0x12, 0x01, 0, 0, 0x08, 0, 0, 0x77, 0xF7}));
        EXPECT_EQ(heard[3 * device + 1], (Bytes{0xF0, 0x47, device, 0x00, 0x48, 0xF7}));
        EXPECT_EQ(heard[3 * device + 2], (Bytes{0xF0, 0x7E, device, 0x06, 0x01, 0xF7}));
    }
}

TEST_F(MIDISearch, TheSameA3000HeardThroughTwoOutputsIsADouble)
{
    const SLoopbackMIDIDevice first = AddLoopbackMIDIPorts(ports_, "Cable A", 0);
    const SLoopbackMIDIDevice second = AddLoopbackMIDIPorts(ports_, "Cable B", 0);
    IdentityResponder responder({first, second}, 0, A3000Reply(0, {0, 2, 0, 0}));
    const SSamplerSearchResult result = Search(responder);
    ASSERT_EQ(result.found.size(), 2u);
    EXPECT_EQ(result.found[0].sampler.midiOut.device, "Cable A");
    EXPECT_EQ(result.found[1].sampler.midiOut.device, "Cable B");
    EXPECT_EQ(result.found[1].sampler.midiIn.device, "Cable A");
    EXPECT_TRUE(result.found[0].doubleNote.empty());
    EXPECT_EQ(result.found[1].doubleNote, Text129(52));
}

TEST_F(MIDISearch, AnInputThatCannotBeOpenedIsRememberedAndTheOthersAreSearched)
{
    const SLoopbackMIDIDevice busy = AddLoopbackMIDIPorts(ports_, "Busy Cable", 0);
    const SLoopbackMIDIDevice cable = AddLoopbackMIDIPorts(ports_, "A3000 Cable", 0);
    CSysexMIDIInput holder;
    const std::unique_ptr<CMIDIInput> held = ports_.FindInput("Busy Cable")->Open(holder);
    IdentityResponder responder({cable}, 0, A3000Reply(0, {0, 2, 0, 0}));
    const SSamplerSearchResult result = Search(responder);
    EXPECT_TRUE(result.midiPortsUnavailable);
    ASSERT_EQ(result.found.size(), 1u);
    EXPECT_EQ(SearchAlerts(result), (std::vector<SAlertToShow>{{63, {}}}));
}

TEST_F(MIDISearch, AnA3000OnBothSCSIAndMIDIIsTheMIDIPlusSCSIModel)
{
    CLoopbackSCSIBus& bus = *LoopbackSCSIBus(buses_);
    bus.AddTarget(std::make_shared<ScriptedTarget>("E-mu", "Emulator 4K", "4.62"));
    bus.AddTarget(std::make_shared<ScriptedTarget>("YAMAHA", " Sampler A3000", "0200"));
    const SLoopbackMIDIDevice cable = AddLoopbackMIDIPorts(ports_, "A3000 Cable", 0);
    IdentityResponder responder({cable}, 0, A3000Reply(0, {0, 2, 1, 0}));
    const SSamplerSearchResult result = Search(responder, kA3000MIDIAndSCSIModel);
    ASSERT_EQ(result.found.size(), 1u);
    const SFoundSampler& found = result.found[0].sampler;
    EXPECT_EQ(found.typeId, kA3000MIDIAndSCSIModel);
    EXPECT_EQ(found.scsiId, 1);
    EXPECT_EQ(found.midiIn.device, "A3000 Cable");
    EXPECT_EQ(found.osVersion, (CVersion{2, 10, 0}));
    EXPECT_TRUE(result.midiMissing.empty());
    EXPECT_TRUE(SearchAlerts(result, kA3000MIDIAndSCSIModel).empty());
}

TEST_F(MIDISearch, AnInstalledA3000TellsItsVersionAndASilentOneTimesOut)
{
    const SLoopbackMIDIDevice cable = AddLoopbackMIDIPorts(ports_, "A3000 Cable", 0);
    IdentityResponder responder({cable}, 2, A3000Reply(2, {0, 2, 0, 5}));
    ReplyAwareClock clock(&responder);
    CScopedMIDIClock scoped(clock);
    CPersistentInstalledSampler a3000;
    a3000.modelTypeId = kA3000MIDIModel;
    a3000.midiIn = {"A3000 Cable", "Loopback"};
    a3000.midiOut = {"A3000 Cable", "Loopback"};
    a3000.sysexId = 2;
    const SSamplerDevices devices{ports_, buses_};
    CVersion version;
    ASSERT_TRUE(ReadOSVersion(a3000, devices, version));
    EXPECT_EQ(version, (CVersion{2, 5, 0}));

    a3000.sysexId = 3; // nobody answers for this device number
    EXPECT_THROW(ReadOSVersion(a3000, devices, version), XSysexTimedOut);
    a3000.midiIn.device = "Unplugged";
    EXPECT_THROW(ReadOSVersion(a3000, devices, version), XMIDI);
}

TEST(InstallFinding, TakesTheFoundPortsIdsAndVersion)
{
    CInstalledSamplers samplers;
    SFoundSampler found;
    found.typeId = kA3000MIDIModel;
    found.midiIn = {"In", "ALSA"};
    found.midiOut = {"Out", "ALSA"};
    found.sysexId = 3;
    found.foundViaMIDI = true;
    found.versionKnown = true;
    found.osVersion = {2, 1, 0};
    const CPersistentInstalledSampler& sampler = InstallFinding(samplers, found, "My A3000");
    EXPECT_EQ(sampler.modelName, "Yamaha A3000 via MIDI");
    EXPECT_EQ(sampler.midiOut.device, "Out");
    EXPECT_EQ(sampler.sysexId, 3);
    EXPECT_TRUE(sampler.versionKnown);
    EXPECT_TRUE(SameSampler(found, sampler));
    found.sysexId = 4;
    EXPECT_FALSE(SameSampler(found, sampler));
}

} // namespace
} // namespace quorvel::test
