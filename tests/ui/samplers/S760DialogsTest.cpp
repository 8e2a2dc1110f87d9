// The S-760 transmit dialog against an emulated S-760 on Loopback MIDI
// ports: its fields, the name it insists on and the hint it shows, and the
// slices the menu's Transmit leaves on the sampler.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "analysis/SliceSet.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "document/SoundDocument.h"
#include "samplers/roland/S760Interface.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/S760TransmitDialog.h"

#include "../../common/SlicedSound.h"
#include "../../common/StoredDocuments.h"
#include "SamplerFlowFixture.h"

namespace quorvel {
namespace {

using test::AlertRecorder;
using test::AutoAnswer;
using test::SamplerFlowFixture;

const std::string kPort = "Emulated Roland S-760 via MIDI";

std::unique_ptr<CSoundDocument> Loop(int slices, int32_t spacing = 3000)
{
    StoredDocumentSettings settings;
    settings.bars = 1;
    std::vector<StoredSlice> stored;
    for (int i = 0; i < slices; ++i)
        stored.push_back({static_cast<int32_t>(SliceState::Locked), false, i * spacing, 20000});
    return std::make_unique<CSoundDocument>(test::VariedSound(slices * spacing), settings, stored);
}

bool Shows(const AlertRecord& record, const std::string& text)
{
    return record.title.find(text) != std::string::npos || record.message.find(text) != std::string::npos;
}

class S760Dialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("QUORVEL_EMULATED_SAMPLERS", "2000", 1);
        ::unsetenv("QUORVEL_EMULATOR_DIR");
        emulators = StartEmulatedSamplersFromEnvironment(f.ports, f.buses);
        ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
        installed.modelTypeId = 2000;
        installed.modelName = "Roland S-760 via MIDI";
        installed.midiIn = {kPort, "Loopback"};
        installed.midiOut = {kPort, "Loopback"};
        installed.userName = "My S-760";
    }

    SamplerFlowFixture f;
    std::unique_ptr<CEmulatedSamplers> emulators;
    CPersistentInstalledSampler installed;
};

TEST_F(S760Dialogs, TheTransmitDialogOffersTheSamplersPatchesAndWantsAName)
{
    AlertRecorder alerts;
    CS760TransmitDialog dialog(installed, 5, {"Drums", "Bass"}, nullptr);
    EXPECT_EQ(dialog.PatchNameField()->text(), "NEW PATCH");
    ASSERT_EQ(dialog.TemplatePopup()->count(), 3);
    EXPECT_EQ(dialog.TemplateName(), "");
    dialog.TemplatePopup()->setCurrentIndex(2);
    EXPECT_EQ(dialog.TemplateName(), "Bass");
    const QLabel* hint = dialog.findChild<QLabel*>(QStringLiteral("hint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->text().contains(QStringLiteral("Performance mode")));

    dialog.PatchNameField()->setText("   ");
    dialog.OkButton()->click();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "No Patch name specified!"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.PatchNameField()->setText("Break ");
    EXPECT_EQ(dialog.PatchName(), "Break");
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(S760Dialogs, TransmitFromTheMenuLeavesOneSamplePerSliceAndThePatch)
{
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    const std::unique_ptr<CSoundDocument> loop = Loop(3);
    SSamplerFlowServices services = f.Services();
    const bool sent = TransmitToInstalled(installed, STransmitRequest{*loop}, services);
    EXPECT_TRUE(sent);
    for (const AlertRecord& alert : alerts.shown)
        ADD_FAILURE() << alert.title << alert.message;

    std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(installed, f.devices);
    const std::unique_ptr<CSampleList> list = device->GetSampleList(0, 0);
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Get(0)->Name(), "NEW PATCH 01");
    EXPECT_EQ(list->Get(2)->Number(), 2);
}

} // namespace
} // namespace quorvel
