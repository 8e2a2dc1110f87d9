// The AKAI transmit and receive dialogs against an emulated S3000 on
// Loopback MIDI ports: the fields and their checks, the program the menu's
// Transmit leaves on the sampler, the replace question, the slice limit,
// and a slice brought back through the sample list.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "analysis/SliceSet.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "document/SoundDocument.h"
#include "samplers/akai/AKAIInterface.h"
#include "ui/samplers/AKAIReceiveDialog.h"
#include "ui/samplers/AKAITransmitDialog.h"
#include "ui/samplers/HardwareTransfer.h"

#include "../../common/SlicedSound.h"
#include "../../common/StoredDocuments.h"
#include "LockedLoop.h"
#include "SamplerFlowFixture.h"

namespace quorvel {
namespace {

using test::AlertRecorder;
using test::AutoAnswer;
using test::LockedLoop;
using test::Shows;
using test::SamplerFlowFixture;

const std::string kPort = "Emulated AKAI S3000 via MIDI";

// The fixture's flow services with an emulated S3000 installed on MIDI.
class AKAIDialogs : public ::testing::Test {
protected:
    // The emulator's faults, as QUORVEL_EMULATOR_FAULTS writes them.
    virtual const char* Faults() const { return ""; }

    void SetUp() override
    {
        ::setenv("QUORVEL_EMULATED_SAMPLERS", "4100", 1);
        ::setenv("QUORVEL_EMULATOR_FAULTS", Faults(), 1);
        ::unsetenv("QUORVEL_EMULATOR_DIR");
        emulators = StartEmulatedSamplersFromEnvironment(f.ports, f.buses);
        ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
        ::unsetenv("QUORVEL_EMULATOR_FAULTS");
        installed.modelTypeId = 4100;
        installed.modelName = "AKAI S3000 via MIDI";
        installed.midiIn = {kPort, "Loopback"};
        installed.midiOut = {kPort, "Loopback"};
        installed.userName = "My S3000";
    }

    std::unique_ptr<CABCAKAIInterface> Open()
    {
        std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(installed, f.devices);
        auto* akai = dynamic_cast<CABCAKAIInterface*>(device.get());
        EXPECT_NE(akai, nullptr);
        device.release();
        return std::unique_ptr<CABCAKAIInterface>(akai);
    }

    bool Transmit(const CSoundDocument& document)
    {
        SSamplerFlowServices services = f.Services();
        return TransmitToInstalled(installed, STransmitRequest{document}, services);
    }

    SamplerFlowFixture f;
    std::unique_ptr<CEmulatedSamplers> emulators;
    CPersistentInstalledSampler installed;
};

TEST_F(AKAIDialogs, TheTransmitDialogOffersTheDefaultsAndTheSamplersProgramsAndWantsAName)
{
    AlertRecorder alerts;
    CAKAITransmitDialog dialog(installed, 5, {"DRUMS", "BASS"}, nullptr);
    EXPECT_EQ(dialog.ProgramNameField()->text(), "NEW PROGRAM");
    EXPECT_EQ(dialog.FirstKeyField()->value(), 36);
    ASSERT_EQ(dialog.TemplatePopup()->count(), 3);
    EXPECT_EQ(dialog.TemplatePopup()->itemText(2), "BASS");
    EXPECT_EQ(dialog.TemplateName(), "") << "no template unless one is chosen";
    dialog.TemplatePopup()->setCurrentIndex(1);
    EXPECT_EQ(dialog.TemplateName(), "DRUMS");

    dialog.ProgramNameField()->setText("  ");
    dialog.OkButton()->click();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "No Program name specified!"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.ProgramNameField()->setText("kick_1");
    EXPECT_EQ(dialog.ProgramName(), "KICK 1") << "as the sampler will keep it";
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(alerts.shown.size(), 1u);
}

TEST_F(AKAIDialogs, TransmitLeavesAProgramAndAskedAgainReplacesItOnlyWhenTold)
{
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    const std::unique_ptr<CSoundDocument> loop = LockedLoop(4);
    ASSERT_TRUE(Transmit(*loop));
    ASSERT_TRUE(alerts.shown.empty()) << alerts.shown.front().message;
    {
        const std::unique_ptr<CABCAKAIInterface> akai = Open();
        ASSERT_EQ(akai->ProgramNames(), std::vector<std::string>{"NEW PROGRAM"});
        const std::unique_ptr<akai::CAKAIProgram> program = akai->GetProgram(0);
        ASSERT_EQ(program->KeyGroups().size(), 4u);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(program->KeyGroups()[static_cast<size_t>(k)]->LowNote(), 36 + k);
            EXPECT_EQ(program->KeyGroups()[static_cast<size_t>(k)]->ZoneSample(0),
                      "NEW PROGR 0" + std::to_string(k + 1));
        }
    }

    // The same name again: Cancel keeps everything.
    alerts.answer = AlertResultForSlot(1);
    const std::unique_ptr<CSoundDocument> shorter = LockedLoop(2);
    EXPECT_FALSE(Transmit(*shorter));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "A Program named \"NEW PROGRAM\" already exists!"));
    EXPECT_EQ(Open()->SampleNames().size(), 4u);

    // Replace: the old program's samples go with it.
    alerts.answer = AlertResultForSlot(0);
    EXPECT_TRUE(Transmit(*shorter));
    EXPECT_EQ(alerts.shown.size(), 2u);
    const std::unique_ptr<CABCAKAIInterface> akai = Open();
    EXPECT_EQ(akai->SampleNames(), (std::vector<std::string>{"NEW PROGR 01", "NEW PROGR 02"}));
    EXPECT_EQ(akai->GetProgram(0)->KeyGroups().size(), 2u);
}

TEST_F(AKAIDialogs, TooManySlicesAskForTheFirst92AndCancelSendsNothing)
{
    AlertRecorder alerts;
    alerts.answer = AlertResultForSlot(1); // Cancel
    AutoAnswer accept(QDialog::Accepted);
    const std::unique_ptr<CSoundDocument> loop = LockedLoop(120, 400);
    ASSERT_EQ(MakeExportJob(*loop).OutputCount(), 120);
    EXPECT_FALSE(Transmit(*loop));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "You've got 120 slices, but the sampler can only use 92."));
    const std::unique_ptr<CABCAKAIInterface> akai = Open();
    EXPECT_TRUE(akai->SampleNames().empty());
    EXPECT_TRUE(akai->ProgramNames().empty());
}

TEST_F(AKAIDialogs, ReceiveListsTheSamplesByNameAndBringsTheChosenOneBack)
{
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    const std::unique_ptr<CSoundDocument> loop = LockedLoop(3);
    ASSERT_TRUE(Transmit(*loop));

    CAKAIReceiveDialog dialog(installed, Open()->SampleNames(), 1, nullptr);
    ASSERT_EQ(dialog.List()->count(), 3);
    EXPECT_EQ(dialog.List()->item(2)->text(), "2  NEW PROGR 03");
    EXPECT_EQ(dialog.SampleNumber(), 1);

    f.memory.receiveNumber = 1;
    SSamplerFlowServices services = f.Services();
    ASSERT_TRUE(ReceiveFromInstalled(installed, services));
    EXPECT_TRUE(alerts.shown.empty()) << alerts.shown.front().message;
    ASSERT_EQ(f.windows.size(), 1u);
    EXPECT_EQ(test::ValuesOf(*f.windows[0]->Sound()), test::ValuesOf(*MakeExportJob(*loop).GetOutput(1)));
}

// The sampler cancels the dump of every sample at its 51st packet: a first
// slice of 10 packets arrives, the second (200 packets) does not.
class AKAIDialogsCancellingSampler : public AKAIDialogs {
protected:
    const char* Faults() const override { return "cancel:50"; }
};

TEST_F(AKAIDialogsCancellingSampler, WhatArrivedBeforeAFailureStillMakesAProgramAndTheWarningSaysItIsIncomplete)
{
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    StoredDocumentSettings settings;
    settings.bars = 1;
    const std::vector<StoredSlice> slices{{static_cast<int32_t>(SliceState::Locked), false, 0, 20000},
                                          {static_cast<int32_t>(SliceState::Locked), false, 400, 20000}};
    const CSoundDocument loop(test::VariedSound(8400), settings, slices);
    EXPECT_FALSE(Transmit(loop));
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_TRUE(Shows(alerts.shown[0], "Operation rejected by sampler!")) << alerts.shown[0].message;
    EXPECT_TRUE(Shows(alerts.shown[1], "Some samples were not Transmitted!")) << alerts.shown[1].message;
    const std::unique_ptr<CABCAKAIInterface> akai = Open();
    // The second sample's header made it on the sampler; its program does not play it.
    EXPECT_EQ(akai->SampleNames().front(), "NEW PROGR 01");
    ASSERT_EQ(akai->ProgramNames(), std::vector<std::string>{"NEW PROGRAM"});
    const std::unique_ptr<akai::CAKAIProgram> program = akai->GetProgram(0);
    ASSERT_EQ(program->KeyGroups().size(), 1u);
    EXPECT_EQ(program->KeyGroups()[0]->ZoneSample(0), "NEW PROGR 01");
}

} // namespace
} // namespace quorvel
