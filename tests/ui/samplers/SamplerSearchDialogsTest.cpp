// The hardware parts of the Sampler Settings dialog, its Find button, the
// found-sampler question and the start-up check as the user meets them,
// offscreen, against emulated E-mu samplers on a Loopback bus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

#include <string>
#include <vector>

#include "devices/emulated/SMDIEmulator.h"
#include "devices/emulated/SMDIEmulatorModel.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "framework/window/AlertBox.h"
#include "samplers/InstalledSamplers.h"
#include "ui/samplers/FoundSamplerDialog.h"
#include "ui/samplers/SamplerPictures.h"
#include "ui/samplers/SamplerSettingsDialog.h"
#include "ui/samplers/SamplerVerificationUI.h"

namespace quorvel {
namespace {

// Records each alert's title (or message) and answers from a script of
// slots; slot 0 once the script is used up.
class AlertScript {
public:
    explicit AlertScript(std::vector<int> answers = {}) : answers_(std::move(answers))
    {
        CAlertBox::SetResponder([this](const AlertRecord& record) {
            shown.push_back(record.title.empty() ? record.message : record.title);
            const int slot = next_ < answers_.size() ? answers_[next_++] : 0;
            return AlertResultForSlot(slot);
        });
    }
    ~AlertScript()
    {
        CAlertBox::SetResponder(nullptr);
        CModalDialog::SetAutoAnswer(std::nullopt);
    }
    std::vector<std::string> shown;

private:
    std::vector<int> answers_;
    size_t next_ = 0;
};

class SearchDialogs : public ::testing::Test {
protected:
    SearchDialogs() : bus_(*LoopbackSCSIBus(buses_)) {}

    void AddEmu(const char* id, std::vector<SEmulatorFault> faults = {})
    {
        bus_.AddTarget(std::make_shared<CSMDIEmulator>(*FindSMDIEmulatorModel(id), clock_, faults));
    }

    CSteadyEmulatorClock clock_;
    CMIDIPortLists ports_;
    CSCSIBusRegistry buses_;
    CLoopbackSCSIBus& bus_;
    CInstalledSamplers samplers_;
};

TEST_F(SearchDialogs, HardwareModelsShowPictureInfoIdsAndAnOutdatedSystem)
{
    CPersistentInstalledSampler& old = samplers_.Add(*FindSamplerModel(5121), "Old E4K");
    old.versionKnown = true;
    old.osVersion = {3, 5, 0};
    CPersistentInstalledSampler& current = samplers_.Add(*FindSamplerModel(5121), "New E4K");
    current.versionKnown = true;
    current.osVersion = {4, 0, 0};
    samplers_.Add(*FindSamplerModel(6000), "A3000");
    CSamplerSettingsDialog dialog(samplers_, ports_, buses_);
    dialog.show();

    dialog.Select(0);
    EXPECT_EQ(dialog.VersionText()->text(), "V3.05");
    EXPECT_FALSE(dialog.VersionWarning()->isHidden());
    EXPECT_FALSE(dialog.Picture()->pixmap().isNull());
    EXPECT_EQ(dialog.Info()->text().toStdString(), "No information available.");
    EXPECT_TRUE(dialog.ScsiId()->isEnabled());

    dialog.Select(1);
    EXPECT_EQ(dialog.VersionText()->text(), "V4.00");
    EXPECT_TRUE(dialog.VersionWarning()->isHidden()) << "exactly the required version is recent enough";

    dialog.Select(2);
    EXPECT_TRUE(dialog.VersionWarning()->isHidden()) << "nothing read, nothing to warn about";
    EXPECT_EQ(dialog.Info()->text().toStdString(),
              "Remember to turn off the MIDI Bulk Protect switch before Transmitting to the A3000!");
    EXPECT_EQ(dialog.SysexIds()->count(), 16);
    EXPECT_EQ(dialog.SysexIds()->itemText(0), "1");
    EXPECT_FALSE(dialog.ScsiId()->isEnabled()) << "the A3000 via MIDI has no SCSI id";
}

TEST(SamplerPictures, EachFamilyLooksDifferent)
{
    const QImage emu = SamplerPicture(15064).toImage();
    const QImage akai = SamplerPicture(15022).toImage();
    const QImage file = SamplerPicture(15081).toImage();
    EXPECT_FALSE(emu.isNull());
    EXPECT_NE(emu, akai);
    EXPECT_NE(emu, file);
    EXPECT_FALSE(VersionWarningPicture().isNull());
}

TEST_F(SearchDialogs, FindInstallsWhatTheUserAcceptsUnderTheProposedName)
{
    AddEmu("5121");
    AddEmu("5011");
    AlertScript alerts;
    CModalDialog::SetAutoAnswer(QDialog::Accepted);
    CSamplerSettingsDialog dialog(samplers_, ports_, buses_);
    EXPECT_EQ(dialog.FindSamplers(), 2u);
    EXPECT_TRUE(alerts.shown.empty());
    ASSERT_EQ(samplers_.Count(), 2u);
    EXPECT_EQ(samplers_.Samplers()[0].userName, "My E-mu E4K via SCSI");
    EXPECT_EQ(samplers_.Samplers()[0].scsiBus.device, "Loopback");
    EXPECT_EQ(samplers_.Samplers()[1].modelTypeId, 5011u);
    EXPECT_EQ(samplers_.Samplers()[1].scsiId, 1);
    EXPECT_TRUE(samplers_.Samplers()[1].versionKnown);
    EXPECT_EQ(dialog.List()->count(), 2);

    // Declined, nothing more is installed.
    CModalDialog::SetAutoAnswer(QDialog::Rejected);
    EXPECT_EQ(dialog.FindSamplers(), 0u);
    EXPECT_EQ(samplers_.Count(), 2u);
}

TEST_F(SearchDialogs, FindWithNothingThereSaysSo)
{
    AlertScript alerts;
    CSamplerSettingsDialog dialog(samplers_, ports_, buses_);
    EXPECT_EQ(dialog.FindSamplers(), 0u);
    EXPECT_EQ(alerts.shown, std::vector<std::string>{"No samplers found!"});

    // Without any port or bus, the search does not even start.
    const CSCSIBusRegistry noBuses;
    CSamplerSettingsDialog bare(samplers_, ports_, noBuses);
    AlertScript again;
    bare.FindSamplers();
    ASSERT_EQ(again.shown.size(), 2u);
    EXPECT_EQ(again.shown[0], "No MIDI available!");
}

TEST_F(SearchDialogs, TheAddDialogHandsOverToTheSearch)
{
    AlertScript alerts;
    CSamplerSettingsDialog dialog(samplers_, ports_, buses_);
    QPushButton* add = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == "Add...")
            add = button;
    ASSERT_NE(add, nullptr);
    CModalDialog::SetAutoAnswer(100); // the Add dialog's Find
    add->click();
    EXPECT_EQ(alerts.shown, std::vector<std::string>{"No samplers found!"});
    EXPECT_TRUE(samplers_.Empty());
}

TEST_F(SearchDialogs, TheFoundQuestionShowsWhereTheSamplerIsAndWhetherItIsADouble)
{
    SSearchFinding finding;
    finding.sampler.typeId = 5121;
    finding.sampler.scsiBus = {"Loopback", "Loopback"};
    finding.sampler.scsiId = 3;
    finding.sampler.foundViaSCSI = true;
    finding.doubleNote = "Double sampler found";
    CFoundSamplerDialog dialog(finding, "My E4K");
    const QString details = dialog.Details()->text();
    EXPECT_TRUE(details.contains("SCSI ID: 3")) << details.toStdString();
    EXPECT_FALSE(details.contains("MIDI")) << details.toStdString();
    bool noteShown = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        noteShown = noteShown || label->text() == "Double sampler found";
    EXPECT_TRUE(noteShown);
    EXPECT_EQ(dialog.Name(), "My E4K");
}

TEST_F(SearchDialogs, StartUpCheckOfASilentSamplerOffersFindAndRemovesItWhenNotFound)
{
    AddEmu("5121", {{"silent", false, 0}});
    CPersistentInstalledSampler& silent = samplers_.Add(*FindSamplerModel(5121), "Quiet");
    silent.scsiBus = {"Loopback", "Loopback"};
    AlertScript alerts({2, 1}); // Retry, then Find
    const SVerificationOutcome outcome = VerifySamplersAtStartUp(samplers_, {ports_, buses_}, nullptr, true);
    ASSERT_EQ(alerts.shown.size(), 3u);
    EXPECT_EQ(alerts.shown[0], alerts.shown[1]) << "Retry asks the same question again";
    EXPECT_NE(alerts.shown[0].find("\"Quiet\" can't be reached"), std::string::npos) << alerts.shown[0];
    EXPECT_EQ(alerts.shown[2], "Sampler not found!");
    EXPECT_EQ(outcome.removed, 1u);
    EXPECT_TRUE(samplers_.Empty());
}

TEST_F(SearchDialogs, StartUpWithoutSamplersOffersASearch)
{
    AddEmu("5121");
    AlertScript alerts({0}); // Yes
    CModalDialog::SetAutoAnswer(QDialog::Accepted);
    VerifySamplersAtStartUp(samplers_, {ports_, buses_}, nullptr, true);
    EXPECT_EQ(alerts.shown, std::vector<std::string>{"No samplers installed!"});
    ASSERT_EQ(samplers_.Count(), 1u);
    EXPECT_EQ(samplers_.Samplers()[0].modelTypeId, 5121u);
}

} // namespace
} // namespace quorvel
