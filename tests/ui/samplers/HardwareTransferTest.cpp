// Transmit and Receive with an installed sampler, end to end against the
// emulated E-mu: the menu command sends the slices, Receive brings one back
// into a new window, and every way a transfer can fail ends in its alert.
#include <gtest/gtest.h>

#include <algorithm>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "analysis/SliceSet.h"
#include "devices/midi/LoopbackMIDI.h"
#include "document/SoundDocument.h"
#include "ui/app/ApplicationServices.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/LeftMixRightReceiveDialog.h"
#include "ui/samplers/SamplerDialogs.h"
#include "ui/window/QuorvelWindow.h"

#include "../../common/StoredDocuments.h"
#include "../../common/SlicedSound.h"
#include "LockedLoop.h"
#include "SamplerFlowFixture.h"

namespace quorvel {
namespace {

using test::AlertRecorder;
using test::AutoAnswer;
using test::LockedLoop;
using test::Shows;
using test::SamplerFlowFixture;

constexpr uint32_t kCmdTransmit = 1200;

std::vector<int16_t> Values(const WAVE_SAMPLE& sound) { return test::ValuesOf(sound); }

TEST(HardwareTransfer, TheLoopGoesToTheSamplerFromTheMenuAndASliceComesBackExactly)
{
    SamplerFlowFixture f;
    CApplicationServices app({f.progressClock, f.presenter, f.loop}, nullptr);
    app.SetMidiPorts(&f.ports);
    app.SetScsiBuses(&f.buses);
    app.Samplers().Assign({f.installed});
    std::vector<std::unique_ptr<CSoundDocument>> opened;
    app.SetWindowOpener([&](std::unique_ptr<CSoundDocument> d) { opened.push_back(std::move(d)); });
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);

    auto* window = new CQuorvelWindow(LockedLoop(4), app);
    ASSERT_TRUE(window->CommandStatus(kCmdTransmit)->enabled);
    ASSERT_TRUE(app.ReceiveAvailable());
    window->HandleCommand(kCmdTransmit);
    EXPECT_TRUE(alerts.shown.empty()) << alerts.shown.front().message;

    // One sample per slice, from the sampler's first number on.
    const std::unique_ptr<CSoundDocument> same = LockedLoop(4);
    const CExportJob job = MakeExportJob(*same);
    ASSERT_EQ(job.OutputCount(), 4);
    EXPECT_EQ(f.emulator->Samples().Numbers(), (std::vector<uint32_t>{1, 2, 3, 4}));
    ASSERT_TRUE(f.emulator->Samples().Find(2));
    EXPECT_EQ(f.emulator->Samples().Find(2)->name, "Loop 02");
    EXPECT_EQ(f.emulator->Samples().Find(2)->length, static_cast<uint32_t>(job.GetOutputInfo(1).length));
    // The progress window counted the slices down.
    EXPECT_NE(std::find(f.presenter.state.labels.begin(), f.presenter.state.labels.end(), "Slices left:"),
              f.presenter.state.labels.end());

    // Receive offers what the sampler holds and preselects the first.
    f.presenter.state.labels.clear();
    app.Receive(nullptr);
    const auto& labels = f.presenter.state.labels;
    EXPECT_NE(std::find(labels.begin(), labels.end(), "Receiving Sample Names..."), labels.end());
    EXPECT_NE(std::find(labels.begin(), labels.end(), "Receiving Sample data:"), labels.end());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(Values(*opened[0]->Sound()), Values(*job.GetOutput(0)));
    EXPECT_STREQ(opened[0]->Sound()->Name(), "Loop 01");
    delete window;
}

TEST(HardwareTransfer, OneSampleAndNormalizeShapeWhatIsSent)
{
    SamplerFlowFixture f;
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    std::unique_ptr<CSoundDocument> loop = LockedLoop(4);
    loop->SetSeparateSamples(false);
    loop->SetTransmitNormalized(true);
    SSamplerFlowServices services = f.Services();
    EXPECT_TRUE(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services));
    ASSERT_EQ(f.emulator->Samples().Numbers(), (std::vector<uint32_t>{1}));
    EXPECT_EQ(f.emulator->Samples().Find(1)->name, "Loop");

    f.memory.receiveNumber = 1;
    EXPECT_TRUE(ReceiveFromInstalled(f.installed, services));
    ASSERT_EQ(f.windows.size(), 1u);
    const std::vector<int16_t> whole = Values(*f.windows[0]->Sound());
    EXPECT_EQ(whole, Values(*MakeExportJob(*loop).GetOutput(0)));
    // The loop peaks near a third of full scale; normalized it fills it.
    const auto peak = std::max_element(whole.begin(), whole.end(), [](int16_t a, int16_t b) {
        return std::abs(a) < std::abs(b);
    });
    EXPECT_GT(std::abs(*peak), 30000);
}

TEST(HardwareTransfer, TooManySlicesAskFirstAndCancelSendsNothing)
{
    SamplerFlowFixture f;
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    std::unique_ptr<CSoundDocument> loop = LockedLoop(120, 400);
    ASSERT_EQ(MakeExportJob(*loop).OutputCount(), 120);
    // Numbers end at 999: from 950 there is room for 50.
    f.memory.transmitStart = 950;
    SSamplerFlowServices services = f.Services();

    alerts.answer = AlertResultForSlot(1); // "Cancel"
    EXPECT_FALSE(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "You've got 120 slices, but the sampler can only use 50. Would you like to "
                                       "use the first 50 slices?"))
        << alerts.shown[0].message;
    EXPECT_TRUE(f.target->Sent().empty());
    EXPECT_TRUE(f.emulator->Samples().Numbers().empty());

    alerts.answer = AlertResultForSlot(0); // "OK"
    EXPECT_TRUE(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services));
    const std::vector<uint32_t> numbers = f.emulator->Samples().Numbers();
    ASSERT_EQ(numbers.size(), 50u);
    EXPECT_EQ(numbers.front(), 950u);
    EXPECT_EQ(numbers.back(), 999u);
    EXPECT_EQ(f.emulator->Samples().Find(999)->name, "Loop 50");
}

TEST(HardwareTransfer, ConfirmSliceCountOnlyAsksWhenTheSlicesDoNotFit)
{
    AlertRecorder alerts;
    EXPECT_EQ(ConfirmSliceCount(92, 92, nullptr), 92);
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(ConfirmSliceCount(120, 92, nullptr), 92);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "120 slices") && Shows(alerts.shown[0], "only use 92"));
    alerts.answer = AlertResultForSlot(1);
    EXPECT_THROW(ConfirmSliceCount(120, 92, nullptr), CSamplerTransmitDialog::XSampleTransmitCancelled);
}

TEST(HardwareTransfer, StopDuringASampleAbortsTheProcedureWithoutAnAlert)
{
    SamplerFlowFixture f;
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    // One long sample: many packets.
    StoredDocumentSettings settings;
    settings.bars = 1;
    auto loop = std::make_unique<CSoundDocument>(test::VariedSound(200000), settings, std::vector<StoredSlice>{});
    loop->SetSeparateSamples(false);
    f.presenter.state.stopAfterShows = 3;
    SSamplerFlowServices services = f.Services();
    EXPECT_FALSE(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services));
    EXPECT_TRUE(alerts.shown.empty()) << alerts.shown.front().message;
    EXPECT_EQ(f.target->Count(test::kAbortProcedureId), 1u);
    EXPECT_TRUE(f.emulator->Samples().Numbers().empty());
    EXPECT_NE(std::find(f.presenter.state.details.begin(), f.presenter.state.details.end(),
                        "Sample Transmit cancelled!"),
              f.presenter.state.details.end());
}

TEST(HardwareTransfer, StopWhileReceivingEndsQuietlyWithNothingOpened)
{
    SamplerFlowFixture f;
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    SSMDISample lengthy;
    lengthy.number = 1;
    lengthy.periodNs = 22675;
    lengthy.length = 200000;
    lengthy.name = "Long";
    lengthy.data.assign(400000, 0x11);
    f.emulator->Samples().Put(lengthy);
    SSamplerFlowServices services = f.Services();

    // Stopped while the sample comes in: the sampler hears the abort.
    f.presenter.state.stopLabel = "Receiving Sample data:";
    f.presenter.state.stopAfterShows = 1;
    EXPECT_FALSE(ReceiveFromInstalled(f.installed, services));
    EXPECT_EQ(f.target->Count(test::kAbortProcedureId), 1u);
    const auto& details = f.presenter.state.details;
    EXPECT_NE(std::find(details.begin(), details.end(), "Sample Receive cancelled!"), details.end());

    // Stopped while the names are asked for: no dialog, nothing received.
    f.presenter.state.stopLabel = "Receiving Sample Names...";
    f.presenter.state.labelShows = 0;
    f.presenter.state.stopAfterShows = 3;
    EXPECT_FALSE(ReceiveFromInstalled(f.installed, services));
    EXPECT_TRUE(f.windows.empty());
    EXPECT_TRUE(alerts.shown.empty()) << alerts.shown.front().message;
}

TEST(HardwareTransfer, TheCommandsAreOfferedOnlyForModelsThisProgramSpeaks)
{
    SamplerFlowFixture f;
    CApplicationServices app({f.progressClock, f.presenter, f.loop}, nullptr);
    app.Samplers().Assign({f.installed});
    EXPECT_TRUE(app.TransmitAvailable());
    EXPECT_TRUE(app.ReceiveAvailable());
    // Every model of the table is spoken now: only a type id the table
    // does not hold is left.
    CPersistentInstalledSampler unknown;
    unknown.modelTypeId = 4001;
    unknown.userName = "My Sampler";
    app.Samplers().Assign({unknown});
    EXPECT_FALSE(app.TransmitAvailable());
    EXPECT_FALSE(app.ReceiveAvailable());
    CPersistentInstalledSampler window;
    window.modelTypeId = kNewWindowModel;
    window.userName = "Slices";
    app.Samplers().Assign({window});
    EXPECT_TRUE(app.TransmitAvailable());
    EXPECT_FALSE(app.ReceiveAvailable());
}

TEST(HardwareTransfer, AStereoSampleAsksWhichChannel)
{
    SamplerFlowFixture f;
    AlertRecorder alerts;
    SSMDISample stereo;
    stereo.number = 7;
    stereo.channels = 2;
    stereo.periodNs = 22675; // 44100 Hz
    stereo.length = 100;
    stereo.name = "Wide";
    for (int i = 0; i < 100; ++i) {
        const auto left = static_cast<uint16_t>(i * 100);
        const auto right = static_cast<uint16_t>(-i * 100);
        stereo.data.insert(stereo.data.end(), {uint8_t(left >> 8), uint8_t(left), uint8_t(right >> 8), uint8_t(right)});
    }
    f.emulator->Samples().Put(stereo);
    f.memory.receiveNumber = 7;
    SSamplerFlowServices services = f.Services();
    {
        // Every dialog answers 1: OK for the receive dialog, Left for the channel.
        AutoAnswer first(CLeftMixRightDialog::kLeft);
        EXPECT_TRUE(ReceiveFromInstalled(f.installed, services));
    }
    {
        AutoAnswer right(CLeftMixRightDialog::kRight);
        // 3 is no answer of the receive dialog: nothing is received.
        EXPECT_FALSE(ReceiveFromInstalled(f.installed, services));
    }
    ASSERT_EQ(f.windows.size(), 1u);
    const std::vector<int16_t> got = Values(*f.windows[0]->Sound());
    ASSERT_EQ(got.size(), 100u);
    EXPECT_EQ(got[10], 1000);
    EXPECT_EQ(got[99], 9900);
    EXPECT_TRUE(alerts.shown.empty());

    CLeftMixRightReceiveDialog dialog;
    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 3);
    for (QPushButton* button : buttons)
        EXPECT_EQ(button->isDefault(), button->text() == "Mix") << button->text().toStdString();
}

TEST(HardwareTransfer, WiderWordsKeepTheirTopSixteenBits)
{
    SamplerFlowFixture f;
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    SSMDISample deep;
    deep.number = 3;
    deep.bits = 24;
    deep.periodNs = 22675;
    deep.length = 4;
    deep.name = "Deep";
    deep.data = {0x12, 0x34, 0x56, 0xFE, 0xDC, 0xBA, 0x7F, 0xFF, 0xFF, 0x80, 0x00, 0x01};
    f.emulator->Samples().Put(deep);
    f.memory.receiveNumber = 3;
    SSamplerFlowServices services = f.Services();
    EXPECT_TRUE(ReceiveFromInstalled(f.installed, services));
    ASSERT_EQ(f.windows.size(), 1u);
    EXPECT_EQ(Values(*f.windows[0]->Sound()), (std::vector<int16_t>{0x1234, int16_t(0xFEDC), 0x7FFF, int16_t(0x8000)}));
}

TEST(HardwareTransfer, NoWindowForTheReceivedSampleShowsAlert90)
{
    SamplerFlowFixture f;
    AlertRecorder alerts;
    AutoAnswer accept(QDialog::Accepted);
    SSMDISample one;
    one.number = 1;
    one.periodNs = 22675;
    one.length = 2;
    one.data = {0, 1, 0, 2};
    f.emulator->Samples().Put(one);
    SSamplerFlowServices services = f.Services();
    services.openWindow = [](std::unique_ptr<CSoundDocument>) { throw std::bad_alloc(); };
    EXPECT_FALSE(ReceiveFromInstalled(f.installed, services));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "Couldn't create new window!"));
}

TEST(HardwareTransfer, EmptyNumberFieldsAreRefusedWithTheirAlerts)
{
    SamplerFlowFixture f;
    AlertRecorder alerts;
    SamplerCapabilities emu;
    emu.lowestSampleNumber = 1;
    emu.highestSampleNumber = 999;

    CSamplerTransmitDialog transmit(f.installed, emu, 4, std::nullopt, nullptr);
    EXPECT_EQ(transmit.StartNumber(), 1);
    transmit.StartNumberField()->clear();
    transmit.show();
    transmit.OkButton()->click();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(Shows(alerts.shown[0], "No start sample number specified!"));
    EXPECT_TRUE(transmit.isVisible());

    std::vector<SListedSample> listed{{5, "Kick", false, -1}, {9, "Snare", true, -1}};
    CSamplerReceiveDialog receive(f.installed, emu, listed, 9, nullptr);
    EXPECT_EQ(receive.SampleNumber(), 9);
    ASSERT_NE(receive.Chosen(), nullptr);
    EXPECT_TRUE(receive.Chosen()->stereo);
    receive.List()->setCurrentRow(0);
    EXPECT_EQ(receive.SampleNumber(), 5);
    receive.NumberField()->clear();
    receive.show();
    receive.OkButton()->click();
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_TRUE(Shows(alerts.shown[1], "No sample number specified!"));
    EXPECT_TRUE(receive.isVisible());
}

} // namespace
} // namespace quorvel

namespace quorvel {
namespace {

// Keeps what the flow asked of it, in order.
class CRecordingSampler final : public CABCSamplerInterface {
public:
    class CTransmitter final : public CABCSampleTransmitter {
    public:
        explicit CTransmitter(std::vector<std::string>& log) : log_(log) {}
        void BeginTransmission(const SampleInfo& info, int32_t& words, int32_t) override
        {
            log_.push_back("begin " + std::string(info.Name()) + " " + std::to_string(info.rate));
            words = 1;
            Activate(1000);
        }
        void TransmitChunk(uint32_t frames, SSampleWords) override
        {
            AdvanceDone(frames);
            if (frames == 0)
                FinishTransmission();
        }

    private:
        std::vector<std::string>& log_;
    };

    explicit CRecordingSampler(std::vector<std::string>& log) : log_(log) {}
    void GetSampleInfo(SampleInfo&, int32_t) override {}
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t) override { return nullptr; }
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t number) override
    {
        log_.push_back("create " + std::to_string(number));
        return std::make_unique<CTransmitter>(log_);
    }
    void DeleteSample(int32_t) override {}
    void AdaptSampleInfo(SampleInfo& info) override
    {
        log_.push_back("adapt " + std::string(info.Name()));
        info.SetName(std::string(info.Name()).substr(0, 3));
        info.rate = 22050;
    }
    void GetCapabilities(SamplerCapabilities& c) override
    {
        c.lowestSampleNumber = 0;
        c.highestSampleNumber = 16777215;
    }
    void FillSampleList(int32_t, CSampleList&, uint32_t) override {}

private:
    std::vector<std::string>& log_;
};

TEST(HardwareTransfer, EachSampleIsAdaptedBeforeItsTransmitterIsMade)
{
    test::SamplerFlowFixture f;
    test::AlertRecorder alerts;
    test::AutoAnswer accept(QDialog::Accepted);
    f.memory.transmitStart = 40;
    std::unique_ptr<CSoundDocument> loop = LockedLoop(2);
    SSamplerFlowServices services = f.Services();
    std::vector<std::string> log;
    services.createInterface = [&](const CPersistentInstalledSampler&) {
        return std::make_unique<CRecordingSampler>(log);
    };
    EXPECT_TRUE(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services));
    EXPECT_EQ(log, (std::vector<std::string>{"adapt Loop 01", "create 40", "begin Loo 22050", "adapt Loop 02",
                                             "create 41", "begin Loo 22050"}));
    EXPECT_TRUE(alerts.shown.empty());
}

TEST(HardwareTransfer, TheEmuTakesTheSampleAtARateItPlays)
{
    test::SamplerFlowFixture f;
    test::AlertRecorder alerts;
    test::AutoAnswer accept(QDialog::Accepted);
    StoredDocumentSettings settings;
    settings.bars = 1;
    CSoundDocument loop(test::VariedSound(4000, 40000), settings, std::vector<StoredSlice>{});
    SSamplerFlowServices services = f.Services();
    EXPECT_TRUE(TransmitToInstalled(f.installed, STransmitRequest{loop}, services));
    ASSERT_TRUE(f.emulator->Samples().Find(1));
    EXPECT_EQ(f.emulator->Samples().Find(1)->periodNs, 1000000000u / 44100u);
}

} // namespace
} // namespace quorvel

namespace quorvel {
namespace {

// A MIDI sampler's ports open with its interface: a port that is gone or
// does not open is named in its own alert, never a silent nothing.
TEST(HardwareTransfer, AMIDIPortThatDoesNotOpenIsNamedInItsAlert)
{
    SamplerFlowFixture f;
    AddLoopbackMIDIPorts(f.ports, "Rack In", 0);
    CPersistentInstalledSampler akai;
    akai.modelTypeId = 4100; // AKAI S3000 via MIDI
    akai.userName = "Rack";
    akai.midiIn = {"Gone In", "ALSA"};
    akai.midiOut = {"Rack In", "Loopback"};
    SSamplerFlowServices services = f.Services();
    AlertRecorder alerts;
    EXPECT_FALSE(ReceiveFromInstalled(akai, services));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_NE(alerts.shown[0].message.find("Can't open MIDI in port \"Gone In\""), std::string::npos)
        << alerts.shown[0].message;

    akai.midiIn = {"Rack In", "Loopback"};
    akai.midiOut = {"Gone Out", "ALSA"};
    const std::unique_ptr<CSoundDocument> loop = LockedLoop(2);
    EXPECT_FALSE(TransmitToInstalled(akai, STransmitRequest{*loop}, services));
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_NE(alerts.shown[1].message.find("Can't open MIDI out port \"Gone Out\""), std::string::npos)
        << alerts.shown[1].message;
}

} // namespace
} // namespace quorvel
