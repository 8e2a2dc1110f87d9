// The Ensoniq transmit dialog against a scripted EPS-16+: its fields and
// their check, the instrument the menu's Transmit makes, the replace
// question and a refused instrument.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "devices/midi/SysexMIDIInput.h"
#include "document/SoundDocument.h"
#include "samplers/ensoniq/EnsoniqInterface.h"
#include "ui/samplers/EnsoniqTransmitDialog.h"
#include "ui/samplers/HardwareTransfer.h"

#include "../../common/StoredDocuments.h"
#include "../../samplers/FakeEnsoniqSampler.h"
#include "SamplerFlowFixture.h"

namespace quorvel {
namespace {

using test::AlertRecorder;
using test::AutoAnswer;

bool Shows(const std::vector<AlertRecord>& shown, const std::string& text)
{
    for (const AlertRecord& record : shown)
        if (record.title.find(text) != std::string::npos || record.message.find(text) != std::string::npos)
            return true;
    return false;
}

class EnsoniqDialogs : public ::testing::Test {
protected:
    EnsoniqDialogs()
    {
        installed.modelTypeId = 3010;
        installed.modelName = "Ensoniq EPS-16+ via MIDI";
        installed.userName = "My EPS";
        services.createInterface = [this](const CPersistentInstalledSampler&) {
            return std::make_unique<CEPS16Interface>(parser, output, 0);
        };
    }

    bool Transmit(int slices)
    {
        const auto document = test::EvenlySlicedDocument(slices, 2000);
        return TransmitToInstalled(installed, STransmitRequest{*document}, services);
    }

    test::SamplerFlowFixture flow;
    test::FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    test::FakeRegisteredInput inPort;
    test::FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    test::ScriptedInput input{inPort, parser, clock};
    test::RecordingOutput output{outPort, clock};
    test::FakeEnsoniqSampler sampler{clock, input, output, 0};
    CPersistentInstalledSampler installed;
    SSamplerFlowServices services = flow.Services();
    AlertRecorder alerts;
};

TEST_F(EnsoniqDialogs, TheDialogAsksForANameAndOneOfTheEightSlots)
{
    CEPS16Interface device(parser, output, 0);
    CEnsoniqTransmitDialog dialog(installed, 4, *device.GetLocations(), nullptr);
    EXPECT_EQ(dialog.InstrumentNameField()->text(), "NEW INSTR");
    EXPECT_EQ(dialog.InstrumentNameField()->maxLength(), 12);
    ASSERT_EQ(dialog.LocationPopup()->count(), 8);
    EXPECT_EQ(dialog.LocationPopup()->itemText(7), "Instrument 8");
    dialog.LocationPopup()->setCurrentIndex(5);
    EXPECT_EQ(dialog.Location(), 5u);

    dialog.InstrumentNameField()->setText("   ");
    dialog.OkButton()->click();
    EXPECT_TRUE(Shows(alerts.shown, "No Instrument name specified"));
    EXPECT_EQ(dialog.result(), 0) << "the dialog stays open";
}

TEST_F(EnsoniqDialogs, TransmitMakesTheInstrumentAndAsksBeforeReplacingOne)
{
    AutoAnswer accept(QDialog::Accepted);
    ASSERT_TRUE(Transmit(4));
    EXPECT_TRUE(alerts.shown.empty());
    ASSERT_EQ(sampler.instruments.count(0), 1u);
    EXPECT_EQ(sampler.instruments[0].name, "NEW INSTR   ");
    EXPECT_EQ(sampler.instruments[0].waves.size(), 4u);
    const auto& labels = flow.presenter.state.labels;
    EXPECT_NE(std::find(labels.begin(), labels.end(), "Slices left:"), labels.end());

    // Cancel keeps the instrument that is there.
    alerts.answer = AlertResultForSlot(1);
    EXPECT_FALSE(Transmit(2));
    EXPECT_TRUE(Shows(alerts.shown, "already exists"));
    EXPECT_EQ(sampler.instruments[0].waves.size(), 4u);
    // Replace makes it anew.
    alerts.answer = AlertResultForSlot(0);
    EXPECT_TRUE(Transmit(2));
    EXPECT_EQ(sampler.instruments[0].waves.size(), 2u);
}

TEST_F(EnsoniqDialogs, AnInstrumentTheSamplerWillNotMakeIsReported)
{
    AutoAnswer accept(QDialog::Accepted);
    sampler.refuse[21] = 6;
    EXPECT_FALSE(Transmit(2));
    EXPECT_TRUE(Shows(alerts.shown, "Failed creating Instrument"));
    EXPECT_EQ(sampler.instruments.count(0), 0u);
}

} // namespace
} // namespace quorvel
