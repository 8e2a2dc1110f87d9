// Every failure of a transfer ends in its alert: the sampler's own faults
// played by the emulated E-mu, and the rest thrown by a stand-in interface
// at the dialog's level and at the handler's.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/SamplerExceptions.h"
#include "document/SoundDocument.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/SamplerFailureAlerts.h"

#include "../../common/StoredDocuments.h"
#include "SamplerFlowFixture.h"

namespace quorvel {
namespace {

using test::AlertRecorder;
using test::AutoAnswer;
using test::SamplerFlowFixture;

std::unique_ptr<CSoundDocument> TwoSlices()
{
    StoredDocumentSettings settings;
    settings.bars = 1;
    return std::make_unique<CSoundDocument>(
        test::VariedSound(6000), settings,
        std::vector<StoredSlice>{{static_cast<int32_t>(SliceState::Locked), false, 0, 20000},
                                 {static_cast<int32_t>(SliceState::Locked), false, 3000, 20000}});
}

// The title of the one alert shown, "none" when none was.
std::string OnlyAlert(const AlertRecorder& alerts)
{
    if (alerts.shown.empty())
        return "none";
    EXPECT_EQ(alerts.shown.size(), 1u);
    return alerts.shown.back().title.empty() ? alerts.shown.back().message : alerts.shown.back().title;
}

const std::string kNoMemory = "Not enough memory to complete operation!";
const std::string kSamplerFull = "There is not enough memory left in the sampler to complete the operation!";
const std::string kNoSample = "The specified sample does not exist!";
const std::string kRejected = "Operation rejected by sampler!";
const std::string kInternal = "Internal error!";
const std::string kSamplerError = "Sampler communication error!";
const std::string kSCSIFailed = "SCSI communication failed!";
const std::string kMIDIFailed = "MIDI communication failed!";

// A sampler interface whose transfers fail with a chosen exception.
class CFailingSampler final : public CABCSamplerInterface {
public:
    explicit CFailingSampler(std::function<void()> fail) : fail_(std::move(fail)) {}
    void GetSampleInfo(SampleInfo& info, int32_t) override
    {
        fail_();
        info.channelCount = 1;
    }
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t) override
    {
        fail_();
        return nullptr;
    }
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t) override
    {
        fail_();
        return nullptr;
    }
    void DeleteSample(int32_t) override {}
    void AdaptSampleInfo(SampleInfo&) override {}
    void GetCapabilities(SamplerCapabilities& capabilities) override
    {
        capabilities.lowestSampleNumber = 0;
        capabilities.highestSampleNumber = 16777215;
    }
    void FillSampleList(int32_t, CSampleList&, uint32_t) override {}

private:
    std::function<void()> fail_;
};

struct Row {
    std::function<void()> fail;
    std::string transmitAlert;
    std::string receiveAlert;
};

std::vector<Row> DialogRows()
{
    return {
        {[] { throw XSampleTransmitCancelled(); }, "none", "none"},
        {[] { throw XSampleReceiveCancelled(); }, "none", "none"},
        {[] { throw XOutOfMemory(); }, kNoMemory, kNoMemory},
        {[] { throw std::bad_alloc(); }, kNoMemory, kNoMemory},
        {[] { throw XExternalDeviceOutOfMemory(); }, kSamplerFull, kSamplerError},
        {[] { throw XSampleDoesNotExist(); }, kSamplerError, kNoSample},
        {[] { throw XExternalDeviceRejected(); }, kRejected, kRejected},
        {[] { throw XSCSICommunicationException(); }, kSCSIFailed, kSCSIFailed},
        {[] { throw XSysexTimedOut(); }, kMIDIFailed, kMIDIFailed},
        {[] { throw XExternalDeviceException(); }, kSamplerError, kSamplerError},
        {[] { throw XSCSI(); }, kSCSIFailed, kSCSIFailed},
        {[] { throw XMIDIWriteFailed(); }, kMIDIFailed, kMIDIFailed},
        {[] { throw std::runtime_error("?"); }, kInternal, kInternal},
    };
}

SSamplerFlowServices WithSampler(SamplerFlowFixture& f, std::function<void()> fail, bool inFactory)
{
    SSamplerFlowServices services = f.Services();
    services.createInterface = [fail, inFactory](const CPersistentInstalledSampler&) {
        if (inFactory)
            fail();
        return std::make_unique<CFailingSampler>(fail);
    };
    return services;
}

TEST(SamplerFailureAlerts, EveryFailureInsideTheDialogsEndsInItsAlert)
{
    const std::vector<Row> rows = DialogRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        SamplerFlowFixture f;
        AutoAnswer accept(QDialog::Accepted);
        f.memory.receiveNumber = 5;
        std::unique_ptr<CSoundDocument> loop = TwoSlices();
        {
            AlertRecorder alerts;
            SSamplerFlowServices services = WithSampler(f, rows[i].fail, false);
            EXPECT_FALSE(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services));
            EXPECT_EQ(OnlyAlert(alerts), rows[i].transmitAlert) << "row " << i;
        }
        {
            AlertRecorder alerts;
            SSamplerFlowServices services = WithSampler(f, rows[i].fail, false);
            EXPECT_FALSE(ReceiveFromInstalled(f.installed, services));
            EXPECT_EQ(OnlyAlert(alerts), rows[i].receiveAlert) << "row " << i;
        }
    }
}

TEST(SamplerFailureAlerts, FailuresBeforeTheDialogEndInTheHandlersAlerts)
{
    const std::vector<std::pair<std::function<void()>, std::string>> rows{
        {[] { throw XOutOfMemory(); }, kNoMemory},
        {[] { throw XExternalDeviceRejected(); }, kRejected},
        {[] { throw XSCSICommunicationException(); }, kSCSIFailed},
        {[] { throw XMIDICommunicationException(); }, kMIDIFailed},
        {[] { throw XExternalDeviceException(); }, kSamplerError},
        {[] { throw XSCSI(); }, kSCSIFailed},
        // The port dialogs have said why a port did not open.
        {[] { throw XFailedOpeningMIDIPort(); }, "none"},
    };
    SamplerFlowFixture f;
    std::unique_ptr<CSoundDocument> loop = TwoSlices();
    for (size_t i = 0; i < rows.size(); ++i) {
        {
            AlertRecorder alerts;
            SSamplerFlowServices services = WithSampler(f, rows[i].first, true);
            EXPECT_FALSE(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services));
            EXPECT_EQ(OnlyAlert(alerts), rows[i].second) << "row " << i;
        }
        {
            AlertRecorder alerts;
            SSamplerFlowServices services = WithSampler(f, rows[i].first, true);
            EXPECT_FALSE(ReceiveFromInstalled(f.installed, services));
            EXPECT_EQ(OnlyAlert(alerts), rows[i].second) << "row " << i;
        }
    }
    // Anything else is not the handler's to explain.
    AlertRecorder alerts;
    SSamplerFlowServices services = WithSampler(f, [] { throw std::logic_error("?"); }, true);
    EXPECT_THROW(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services), std::logic_error);
    EXPECT_THROW(ReceiveFromInstalled(f.installed, services), std::logic_error);
    EXPECT_TRUE(alerts.shown.empty());
}

TEST(SamplerFailureAlerts, TheInterfaceIsClosedOnEveryWayOut)
{
    // Each operation opens the sampler's interface (and its ports) afresh
    // and closes it before the handler returns.
    static int open = 0;
    struct CCountedSampler : CABCSamplerInterface {
        CCountedSampler() { ++open; }
        ~CCountedSampler() override { --open; }
        void GetSampleInfo(SampleInfo&, int32_t) override { throw XSysexTimedOut(); }
        std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t) override { return nullptr; }
        void DeleteSample(int32_t) override {}
        void AdaptSampleInfo(SampleInfo&) override {}
        void GetCapabilities(SamplerCapabilities& c) override { c.highestSampleNumber = 100000; }
        void FillSampleList(int32_t, CSampleList&, uint32_t) override {}
    };
    SamplerFlowFixture f;
    AutoAnswer accept(QDialog::Accepted);
    AlertRecorder alerts;
    f.memory.receiveNumber = 1;
    SSamplerFlowServices services = f.Services();
    int made = 0;
    services.createInterface = [&](const CPersistentInstalledSampler&) {
        ++made;
        return std::make_unique<CCountedSampler>();
    };
    std::unique_ptr<CSoundDocument> loop = TwoSlices();
    EXPECT_FALSE(TransmitToInstalled(f.installed, STransmitRequest{*loop}, services));
    EXPECT_EQ(open, 0);
    EXPECT_FALSE(ReceiveFromInstalled(f.installed, services));
    EXPECT_EQ(open, 0);
    EXPECT_EQ(made, 2);
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(alerts.shown[1].title, kMIDIFailed);
}

// The emulated sampler's scripted faults, each reached through the real
// SMDI classes.
TEST(SamplerFailureAlerts, TheEmulatedSamplersFaultsEndInTheirAlerts)
{
    struct FaultRow {
        std::vector<SEmulatorFault> faults;
        std::string transmitAlert;
    };
    const std::vector<FaultRow> rows{
        {{{"reject-header", false, 0}}, kRejected},
        {{{"reject-transfer", false, 0}}, kRejected},
        {{{"abort", true, 0}}, kRejected},
        {{{"check-condition", false, 0}}, kSCSIFailed},
        {{{"bad-tag", false, 0}}, kSCSIFailed},
        // Busy through all five attempts, and no answer at all.
        {{{"busy", true, 5}}, kSCSIFailed},
        {{{"silent", false, 0}}, kSCSIFailed},
        // Waits past the twenty seconds of polling, on the simulated clock.
        {{{"wait", true, 30000}}, kSCSIFailed},
        {{{"wait", true, 2000}}, "none"},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SamplerFlowFixture f(rows[i].faults);
        AutoAnswer accept(QDialog::Accepted);
        AlertRecorder alerts;
        std::unique_ptr<CSoundDocument> loop = TwoSlices();
        SSamplerFlowServices services = f.Services();
        TransmitToInstalled(f.installed, STransmitRequest{*loop}, services);
        EXPECT_EQ(OnlyAlert(alerts), rows[i].transmitAlert) << "row " << i;
    }

    // A number that holds nothing.
    SamplerFlowFixture f;
    AutoAnswer accept(QDialog::Accepted);
    AlertRecorder alerts;
    f.memory.receiveNumber = 12;
    SSamplerFlowServices services = f.Services();
    EXPECT_FALSE(ReceiveFromInstalled(f.installed, services));
    EXPECT_EQ(OnlyAlert(alerts), kNoSample);
}

} // namespace
} // namespace quorvel
