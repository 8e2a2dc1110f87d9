// The start-up check of the installed samplers, driven through a scripted
// user interface against emulated E-mu samplers on a Loopback bus.
#include <gtest/gtest.h>

#include <deque>

#include "devices/scsi/SCSIBusRegistry.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "samplers/SamplerVerification.h"

#include "SearchTestDoubles.h"

namespace quorvel::test {
namespace {

constexpr uint32_t kE4K = 5121;

// Answers alert 35 from a script (Skip once it runs out), records every
// alert and note, and searches the real devices when asked to.
class ScriptedUI : public CABCVerificationUI {
public:
    ScriptedUI(const SSamplerDevices& devices, std::deque<int> answers = {})
        : devices_(devices), answers_(std::move(answers))
    {
    }
    int Alert(uint32_t entry, const std::vector<std::string>& arguments) override
    {
        alerts.push_back({entry, arguments});
        if (entry == 37)
            return offerAnswer;
        if (entry != 35 || answers_.empty())
            return 0;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void Note(const std::string& script) override { notes.push_back(script); }
    void Progress(const std::string& text, size_t left) override { progress.push_back({text, left}); }
    bool CancelRequested() override { return cancel; }
    std::vector<SFoundSampler> SearchFor(const SSamplerModel& model) override
    {
        ++searches;
        CInstalledSamplers none;
        RecordingProgress searchProgress;
        std::vector<SFoundSampler> found;
        for (const SSearchFinding& finding :
             SearchForSamplers(devices_, none, BuiltInTextResources(), searchProgress, model.typeId).found)
            found.push_back(finding.sampler);
        return found;
    }
    void SearchAndOffer() override { ++offers; }

    std::vector<SAlertToShow> alerts;
    std::vector<std::string> notes;
    std::vector<std::pair<std::string, size_t>> progress;
    bool cancel = false;
    int offerAnswer = 1;
    int searches = 0;
    int offers = 0;

private:
    const SSamplerDevices& devices_;
    std::deque<int> answers_;
};

class Verification : public ::testing::Test {
protected:
    Verification() : bus_(*LoopbackSCSIBus(buses_)) {}

    CPersistentInstalledSampler& InstallE4K(const std::string& name, uint8_t id)
    {
        CPersistentInstalledSampler& sampler = samplers_.Add(*FindSamplerModel(kE4K), name);
        sampler.scsiBus = {"Loopback", "Loopback"};
        sampler.scsiId = id;
        return sampler;
    }
    SVerificationOutcome Verify(ScriptedUI& ui, bool offerSearch = true)
    {
        return VerifyInstalledSamplers(samplers_, devices_, BuiltInTextResources(), ui, offerSearch);
    }
    std::vector<uint32_t> Entries(const ScriptedUI& ui)
    {
        std::vector<uint32_t> entries;
        for (const SAlertToShow& alert : ui.alerts)
            entries.push_back(alert.entry);
        return entries;
    }

    CSteadyEmulatorClock clock_;
    CMIDIPortLists ports_;
    CSCSIBusRegistry buses_;
    CLoopbackSCSIBus& bus_;
    const SSamplerDevices devices_{ports_, buses_};
    CInstalledSamplers samplers_;
};

TEST_F(Verification, AnsweringSamplersHaveTheirVersionReadAndNothingIsAsked)
{
    bus_.AddTarget(EmulatedEmu("5121", clock_));
    InstallE4K("Rack", 0);
    samplers_.Add(*FindSamplerModel(kNewWindowModel), "Windows");
    ScriptedUI ui(devices_);
    const SVerificationOutcome outcome = Verify(ui);
    EXPECT_TRUE(ui.alerts.empty());
    EXPECT_TRUE(ui.notes.empty());
    EXPECT_EQ(outcome.removed, 0u);
    ASSERT_TRUE(samplers_.Samplers()[0].versionKnown);
    EXPECT_GE(samplers_.Samplers()[0].osVersion.major, 4);
    ASSERT_FALSE(ui.progress.empty());
    EXPECT_EQ(ui.progress.back().first, "Samplers left to check:\r(Looking for \"Rack\")");
}

TEST_F(Verification, ASilentSamplerWalksRetryFindAndSkip)
{
    bus_.AddTarget(EmulatedEmu("5121", clock_, {{"silent", false, 0}}));
    InstallE4K("Silent", 0);

    // Retry asks again; Skip leaves the sampler installed.
    ScriptedUI skip(devices_, {kVerifyRetry, kVerifySkip});
    Verify(skip);
    EXPECT_EQ(Entries(skip), (std::vector<uint32_t>{35, 35}));
    EXPECT_EQ(skip.alerts[0].arguments, std::vector<std::string>{"Silent"});
    EXPECT_EQ(samplers_.Count(), 1u);
    EXPECT_FALSE(samplers_.Samplers()[0].versionKnown);

    // Find that finds nothing removes it with alert 82.
    ScriptedUI find(devices_, {kVerifyFind});
    const SVerificationOutcome outcome = Verify(find);
    EXPECT_EQ(Entries(find), (std::vector<uint32_t>{35, 82}));
    EXPECT_EQ(find.searches, 1);
    EXPECT_EQ(outcome.removed, 1u);
    EXPECT_TRUE(samplers_.Empty());
}

TEST_F(Verification, FindMovesTheSamplerToWhereTheSearchFoundIt)
{
    bus_.AddTarget(EmulatedEmu("5121", clock_, {{"silent", false, 0}}));
    bus_.AddTarget(EmulatedEmu("5121", clock_));
    InstallE4K("Moved", 0);
    ScriptedUI ui(devices_, {kVerifyFind});
    Verify(ui);
    EXPECT_EQ(Entries(ui), std::vector<uint32_t>{35});
    ASSERT_EQ(samplers_.Count(), 1u);
    EXPECT_EQ(samplers_.Samplers()[0].scsiId, 1);
    EXPECT_TRUE(samplers_.Samplers()[0].versionKnown);
}

TEST_F(Verification, UnsupportedRecordsAndMissingDevicesAreReported)
{
    CPersistentInstalledSampler unknown;
    unknown.modelTypeId = 4001;
    unknown.userName = "Old AKAI";
    CPersistentInstalledSampler s3000;
    s3000.modelTypeId = 4100;
    s3000.userName = "S3000";
    s3000.midiIn = {"Gone In", "ALSA"};
    s3000.midiOut = {"Gone Out", "ALSA"};
    CPersistentInstalledSampler e4k;
    e4k.modelTypeId = kE4K;
    e4k.userName = "E4K";
    e4k.scsiBus = {"Gone Bus", "Linux SG"};
    samplers_.Assign({unknown, s3000, e4k});
    ScriptedUI ui(devices_);
    const SVerificationOutcome outcome = Verify(ui);
    EXPECT_EQ(ui.alerts, (std::vector<SAlertToShow>{{34, {"Old AKAI"}},
                                                    {30, {"Gone In"}},
                                                    {31, {"Gone Out"}},
                                                    {32, {"Gone Bus"}}}));
    EXPECT_EQ(outcome.removed, 1u);
    ASSERT_EQ(samplers_.Count(), 2u);
    EXPECT_EQ(samplers_.Samplers()[0].userName, "S3000");
}

TEST_F(Verification, OnlySoftwareDestinationsAreNotCheckedAndShowNoProgress)
{
    samplers_.Add(*FindSamplerModel(kNewWindowModel), "Windows");
    samplers_.Add(*FindSamplerModel(kSoundFontModel), "Banks");
    ScriptedUI ui(devices_);
    Verify(ui);
    EXPECT_TRUE(ui.progress.empty());
    EXPECT_TRUE(ui.alerts.empty());
    EXPECT_EQ(samplers_.Count(), 2u);
}

TEST_F(Verification, AnOldSystemGivesTheNoteForTheModelsConnection)
{
    bus_.AddTarget(std::make_shared<ScriptedTarget>("E-mu", "Emulator 4K", "3.50"));
    InstallE4K("Old", 0);
    ScriptedUI ui(devices_);
    Verify(ui);
    ASSERT_EQ(ui.notes.size(), 1u);
    EXPECT_EQ(ui.notes[0], "[NOTE]The operating system in your E-mu E4K via SCSI sampler (SCSI ID 0) is too old "
                           "(version 3.50).\rThe required OS version is 4.00![OK]");
    EXPECT_EQ(samplers_.Samplers()[0].osVersion, (CVersion{3, 50, 0}));
}

TEST(OSTooOldNote, NamesTheIdsTheModelUsesAndComparesMinorVersions)
{
    CTextResources& texts = BuiltInTextResources();
    const SSamplerModel& s1000 = *FindSamplerModel(4000);
    EXPECT_TRUE(OSVersionTooOld(s1000, {4, 30, 0}));
    EXPECT_FALSE(OSVersionTooOld(s1000, {4, 40, 0}));
    CPersistentInstalledSampler sampler;
    sampler.sysexId = 0;
    sampler.scsiId = 5;
    EXPECT_EQ(OSTooOldNote(texts, s1000, sampler, {4, 3, 0}),
              "[NOTE]The operating system in your AKAI S1000 via MIDI sampler (Sysex ID 1) is too old "
              "(version 4.03).\rThe required OS version is 4.40![OK]");
    // A Kurzweil numbers its ids from 0.
    EXPECT_EQ(OSTooOldNote(texts, *FindSamplerModel(1002), sampler, {2, 0, 0}),
              "[NOTE]The operating system in your Kurzweil K2000 via MIDI+SCSI sampler (Sysex ID 0, SCSI ID 5) "
              "is too old (version 2.00).\rThe required OS version is 3.01![OK]");
    EXPECT_EQ(OSTooOldNoteByName(texts, s1000, "Drums", {4, 30, 0}),
              "[NOTE]The operating system in your sampler \"Drums\" is too old (version 4.30).\rThe required OS "
              "version is 4.40![OK]");
}

TEST_F(Verification, CancellingTheProgressEndsWithAlert36)
{
    bus_.AddTarget(EmulatedEmu("5121", clock_));
    InstallE4K("First", 0);
    InstallE4K("Second", 0);
    ScriptedUI ui(devices_);
    ui.cancel = true;
    const SVerificationOutcome outcome = Verify(ui);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(Entries(ui), std::vector<uint32_t>{36});
    EXPECT_FALSE(samplers_.Samplers()[0].versionKnown);
}

TEST_F(Verification, NoSamplerInstalledOffersASearchOnlyWhereOneCouldFindSomething)
{
    ScriptedUI nothingToSearch(devices_);
    CSCSIBusRegistry noBuses;
    const SSamplerDevices none{ports_, noBuses};
    VerifyInstalledSamplers(samplers_, none, BuiltInTextResources(), nothingToSearch, true);
    EXPECT_TRUE(nothingToSearch.alerts.empty());

    ScriptedUI declined(devices_);
    declined.offerAnswer = 1; // No
    EXPECT_TRUE(Verify(declined).searchOffered);
    EXPECT_EQ(Entries(declined), std::vector<uint32_t>{37});
    EXPECT_EQ(declined.offers, 0);

    ScriptedUI accepted(devices_);
    accepted.offerAnswer = 0; // Yes
    Verify(accepted);
    EXPECT_EQ(accepted.offers, 1);

    ScriptedUI notOffered(devices_);
    EXPECT_FALSE(Verify(notOffered, false).searchOffered);
    EXPECT_TRUE(notOffered.alerts.empty());
}

} // namespace
} // namespace quorvel::test
