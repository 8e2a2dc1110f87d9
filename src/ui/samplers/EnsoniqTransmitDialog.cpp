#include "ui/samplers/EnsoniqTransmitDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "analysis/SliceSet.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/SamplerLocationList.h"
#include "samplers/ensoniq/EnsoniqInstrumentTransmission.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

using namespace ensoniq;

namespace {

constexpr uint32_t kSlicesLeftText = StringReference(129, 21);
constexpr uint32_t kTransmitCancelledText = StringReference(129, 24);
constexpr uint32_t kInstrumentNotCreatedAlert = AlertReference(132, 80);
constexpr uint32_t kInstrumentExistsAlert = AlertReference(132, 81);
constexpr uint32_t kNoInstrumentNameAlert = AlertReference(132, 82);
// The last button listed ("Replace").
constexpr int kLastButton = AlertResultForSlot(0);

std::string Text(uint32_t reference) { return BuiltInTextResources().Text(reference); }

QHBoxLayout* LabelledRow(const QString& label, QWidget* field, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, parent));
    row->addWidget(field, 1);
    return row;
}

// The questions as alerts, the waves in the progress window.
class CDialogQuestions final : public CABCEnsoniqTransmitQuestions {
public:
    explicit CDialogQuestions(SSamplerFlowServices& services) : services_(services) {}

    int ConfirmSliceCount(int count, int maximum) override
    {
        return quorvel::ConfirmSliceCount(count, maximum, services_.parent);
    }
    bool ReplaceInstrument(const std::string&) override
    {
        progress_.reset();
        return ShowAlert(kInstrumentExistsAlert, {}, services_.parent) == kLastButton;
    }
    void Stage(EEnsoniqTransmitStage stage) override
    {
        if (stage == EEnsoniqTransmitStage::SendingSamples)
            progress_.emplace(services_.lengthy, Text(kSlicesLeftText));
    }
    CABCTransferProgress& SampleProgress(int left) override
    {
        if (!progress_)
            progress_.emplace(services_.lengthy, Text(kSlicesLeftText));
        progress_->SetPercent(0);
        progress_->SetValue(left);
        return *progress_;
    }

    std::optional<CLengthyTransferProgress>& Progress() { return progress_; }

private:
    SSamplerFlowServices& services_;
    std::optional<CLengthyTransferProgress> progress_;
};

} // namespace

CEnsoniqTransmitDialog::CEnsoniqTransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                                               const CSamplerLocationList& locations, QWidget* parent)
    // The sampler picks the waves itself: no start number to ask for.
    : CSamplerTransmitDialog(sampler, SamplerCapabilities{}, sampleCount, std::nullopt, parent)
{
    name_ = new QLineEdit(QString::fromLatin1(kDefaultInstrumentName), this);
    name_->setObjectName(QStringLiteral("instrumentName"));
    name_->setMaxLength(kNameLength);
    Body()->addLayout(LabelledRow(QStringLiteral("Instrument Name:"), name_, this));
    location_ = new QComboBox(this);
    location_->setObjectName(QStringLiteral("location"));
    for (uint16_t k = 0; k < locations.Count(); ++k)
        location_->addItem(QString::fromStdString(locations.Get(k).name), locations.Get(k).id);
    Body()->addLayout(LabelledRow(QStringLiteral("Location:"), location_, this));
}

std::string CEnsoniqTransmitDialog::InstrumentName() const
{
    return ensoniq::InstrumentName(name_->text().toStdString());
}

uint32_t CEnsoniqTransmitDialog::Location() const
{
    return location_->currentIndex() < 0 ? 0 : location_->currentData().toUInt();
}

bool CEnsoniqTransmitDialog::Validate()
{
    if (!InstrumentName().empty())
        return CSamplerTransmitDialog::Validate();
    ShowAlert(kNoInstrumentNameAlert, {}, this);
    return false;
}

bool CEnsoniqTransmitDialog::Run(const CPersistentInstalledSampler& sampler, CABCEnsoniqInterface& device,
                                 const CExportJob& job, SSamplerFlowServices& services)
{
    CDialogQuestions questions(services);
    CEnsoniqInstrumentTransmission transmission(device, questions);
    try {
        const int outputs = job.OutputCount();
        if (outputs < 1)
            return false;
        SEnsoniqTransmitSettings settings;
        {
            CEnsoniqTransmitDialog dialog(sampler, outputs, *device.GetLocations(), services.parent);
            if (dialog.RunModal() != QDialog::Accepted)
                return false;
            settings.instrumentName = dialog.InstrumentName();
            settings.instrument = dialog.Location();
        }
        transmission.Run(job, settings);
        questions.Progress().reset();
        return true;
    } catch (const XSampleTransmitCancelled&) {
        if (questions.Progress())
            questions.Progress()->ShowCancelled(Text(kTransmitCancelledText));
    } catch (const XEnsoniqInstrumentNameMissing&) {
        // An unattended answer skips Validate.
        questions.Progress().reset();
        ShowAlert(kNoInstrumentNameAlert, {}, services.parent);
    } catch (const XEnsoniqInstrumentNotCreated&) {
        questions.Progress().reset();
        ShowAlert(kInstrumentNotCreatedAlert, {}, services.parent);
    } catch (...) {
        questions.Progress().reset();
        if (const std::optional<uint32_t> alert =
                DialogFailureAlert(std::current_exception(), TransferDirection::Transmit))
            ShowAlert(*alert, {}, services.parent);
    }
    return false;
}

} // namespace quorvel
