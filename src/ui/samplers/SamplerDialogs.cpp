#include "ui/samplers/SamplerDialogs.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/SliceSet.h"
#include "document/SoundDocument.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/ReceivedSound.h"
#include "samplers/SamplerModels.h"
#include "samplers/SliceSamples.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/LeftMixRightReceiveDialog.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/ReceiveFlow.h"
#include "ui/samplers/SamplerPictures.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

namespace {

constexpr uint32_t kSlicesLeftText = StringReference(129, 21);
constexpr uint32_t kTransmitCancelledText = StringReference(129, 24);
constexpr uint32_t kReceivingNamesText = StringReference(133, 300);
constexpr uint32_t kNoStartNumberAlert = AlertReference(132, 71);
constexpr uint32_t kNoSampleNumberAlert = AlertReference(132, 72);
constexpr uint32_t kNoWindowAlert = AlertReference(129, 90);

std::string Text(uint32_t reference) { return BuiltInTextResources().Text(reference); }

void ShowFailure(TransferDirection direction, QWidget* parent)
{
    if (const std::optional<uint32_t> alert = DialogFailureAlert(std::current_exception(), direction))
        ShowAlert(*alert, {}, parent);
}

std::optional<int32_t> NumberIn(const QLineEdit* field, const SamplerCapabilities& capabilities)
{
    bool ok = false;
    const qlonglong value = field->text().trimmed().toLongLong(&ok);
    if (!ok || value < capabilities.lowestSampleNumber || value > capabilities.highestSampleNumber)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

QLineEdit* MakeNumberField(const SamplerCapabilities& capabilities, std::optional<int32_t> number, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setValidator(
        new QIntValidator(capabilities.lowestSampleNumber, capabilities.highestSampleNumber, field));
    if (number)
        field->setText(QString::number(*number));
    return field;
}

QHBoxLayout* LabelledRow(const QString& label, QWidget* field, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, parent));
    row->addWidget(field, 1);
    return row;
}

} // namespace

bool TakesNumberedSamples(const SamplerCapabilities& capabilities)
{
    return capabilities.highestSampleNumber > capabilities.lowestSampleNumber;
}

// ---- CSamplerDialog ------------------------------------------------------------

constexpr int kPictureHeight = 48;

CSamplerDialog::CSamplerDialog(const CPersistentInstalledSampler& sampler, QWidget* parent) : CModalDialog(parent)
{
    setWindowTitle(QStringLiteral("Quorvel"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("samplerPicture"));
    if (const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId))
        picture->setPixmap(SamplerPicture(model->picture).scaledToHeight(kPictureHeight, Qt::SmoothTransformation));
    heading->addWidget(picture);
    auto* names = new QVBoxLayout;
    auto* userName = new QLabel(QString::fromStdString(sampler.userName), this);
    QFont bold = userName->font();
    bold.setBold(true);
    userName->setFont(bold);
    names->addWidget(userName);
    const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId);
    names->addWidget(new QLabel(QString::fromStdString(model ? std::string(model->name) : sampler.modelName), this));
    heading->addLayout(names, 1);
    layout->addLayout(heading);
    body_ = new QVBoxLayout;
    layout->addLayout(body_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(ok_);
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, [this] { Finish(QDialog::Rejected); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (Validate())
            Finish(QDialog::Accepted);
    });
}

// ---- CSamplerTransmitDialog --------------------------------------------------

CSamplerTransmitDialog::CSamplerTransmitDialog(const CPersistentInstalledSampler& sampler,
                                               const SamplerCapabilities& capabilities, int sampleCount,
                                               std::optional<int32_t> startNumber, QWidget* parent)
    : CSamplerDialog(sampler, parent), capabilities_(capabilities)
{
    Body()->addWidget(new QLabel(sampleCount == 1 ? QStringLiteral("1 sample to send")
                                                  : QStringLiteral("%1 samples to send").arg(sampleCount),
                                 this));
    if (TakesNumberedSamples(capabilities)) {
        start_ = MakeNumberField(capabilities, startNumber.value_or(capabilities.lowestSampleNumber), this);
        start_->setObjectName(QStringLiteral("startSampleNumber"));
        Body()->addLayout(LabelledRow(QStringLiteral("Start Sample Number:"), start_, this));
    }
}

std::optional<int32_t> CSamplerTransmitDialog::StartNumber() const
{
    return start_ ? NumberIn(start_, capabilities_) : std::optional<int32_t>(capabilities_.lowestSampleNumber);
}

bool CSamplerTransmitDialog::Validate()
{
    if (StartNumber())
        return true;
    ShowAlert(kNoStartNumberAlert, {}, this);
    return false;
}

bool CSamplerTransmitDialog::Run(const CPersistentInstalledSampler& sampler, CABCSamplerInterface& device,
                                 const CExportJob& job, SSamplerFlowServices& services)
{
    std::optional<CLengthyTransferProgress> progress;
    try {
        SamplerCapabilities capabilities;
        device.GetCapabilities(capabilities);
        const int outputs = job.OutputCount();
        if (outputs < 1)
            return false;
        int32_t first = 0;
        {
            CSamplerTransmitDialog dialog(sampler, capabilities, outputs, services.memory.transmitStart,
                                          services.parent);
            if (dialog.RunModal() != QDialog::Accepted)
                return false;
            // An unattended answer skips Validate: the field must still hold a number.
            const std::optional<int32_t> start = dialog.StartNumber();
            if (!start) {
                ShowAlert(kNoStartNumberAlert, {}, services.parent);
                return false;
            }
            first = *start;
        }
        const bool numbered = TakesNumberedSamples(capabilities);
        if (numbered)
            services.memory.transmitStart = first;
        const int maximum = numbered ? capabilities.highestSampleNumber - first + 1 : outputs;
        const int count = ConfirmSliceCount(outputs, maximum, services.parent);

        progress.emplace(services.lengthy, Text(kSlicesLeftText));
        for (int k = 0; k < count; ++k) {
            progress->SetPercent(0);
            progress->SetValue(count - k);
            const std::unique_ptr<WAVE_SAMPLE> output = job.GetOutput(k);
            SampleInfo info = SliceSampleInfo(*output, job.OutputRate(), SliceSampleName(*output, k, job.Separate()));
            device.AdaptSampleInfo(info);
            std::unique_ptr<CABCSampleTransmitter> transmitter =
                numbered ? device.CreateTransmitter(first + k) : device.CreateMonoTransmitter(0);
            if (!transmitter)
                throw XSamplerException();
            TransmitSample(*transmitter, info, 0, *output, *progress);
        }
        progress->SetValue(0);
        return true;
    } catch (const XSampleTransmitCancelled&) {
        if (progress)
            progress->ShowCancelled(Text(kTransmitCancelledText));
    } catch (...) {
        progress.reset();
        ShowFailure(TransferDirection::Transmit, services.parent);
    }
    return false;
}

// ---- CSamplerReceiveDialog ---------------------------------------------------

bool OpenReceivedSound(std::unique_ptr<WAVE_SAMPLE> sound, SSamplerFlowServices& services)
{
    try {
        services.openWindow(std::make_unique<CSoundDocument>(std::move(sound), services.settings.documentDefaults,
                                                             services.settings.application.barsToOneInNewDocuments));
    } catch (const std::bad_alloc&) {
        ShowAlert(kNoWindowAlert, {}, services.parent);
        return false;
    } catch (const XOutOfMemory&) {
        ShowAlert(kNoWindowAlert, {}, services.parent);
        return false;
    }
    return true;
}

std::vector<SListedSample> ListSamples(CABCSamplerInterface& sampler, const SamplerCapabilities& capabilities,
                                       CABCTransferProgress& progress)
{
    std::vector<SListedSample> samples;
    const std::unique_ptr<CSampleList> list = sampler.GetSampleList(0, 0);
    if (list) {
        for (uint16_t i = 0; i < list->Count(); ++i)
            if (const CSampleSpec* entry = list->Get(i))
                samples.push_back({entry->Number(), entry->Name(), entry->IsStereo(),
                                   entry->IsStereo() ? entry->RightNumber() : -1});
    }
    const int32_t low = capabilities.lowestSampleNumber;
    const int32_t high = capabilities.highestSampleNumber;
    if (!samples.empty() || !TakesNumberedSamples(capabilities) || high - low >= kMostNumbersToWalk)
        return samples;
    // No directory: every number is asked for its header.
    for (int32_t number = low; number <= high; ++number) {
        if (progress.CancelRequested())
            throw XSampleReceiveCancelled();
        progress.SetPercent(static_cast<int32_t>(int64_t(number - low) * 100 / (high - low + 1)));
        SampleInfo info;
        try {
            sampler.GetSampleInfo(info, number);
        } catch (const XSampleDoesNotExist&) {
            continue;
        }
        samples.push_back({number, std::string(info.Name()), info.channelCount == 2, -1});
    }
    progress.SetPercent(100);
    return samples;
}

CSamplerReceiveDialog::CSamplerReceiveDialog(const CPersistentInstalledSampler& sampler,
                                             const SamplerCapabilities& capabilities,
                                             std::vector<SListedSample> samples, std::optional<int32_t> number,
                                             QWidget* parent)
    : CSamplerDialog(sampler, parent), capabilities_(capabilities), samples_(std::move(samples))
{
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("samples"));
    for (const SListedSample& sample : samples_) {
        QString line = QStringLiteral("%1  %2").arg(sample.number).arg(QString::fromStdString(sample.name));
        if (sample.stereo)
            line += QStringLiteral("  (stereo)");
        list_->addItem(line);
    }
    list_->setVisible(!samples_.empty());
    Body()->addWidget(list_);
    if (TakesNumberedSamples(capabilities)) {
        number_ = MakeNumberField(capabilities, std::nullopt, this);
        number_->setObjectName(QStringLiteral("sampleNumber"));
        Body()->addLayout(LabelledRow(QStringLiteral("Sample Number:"), number_, this));
    }
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (number_ && row >= 0 && row < static_cast<int>(samples_.size()))
            number_->setText(QString::number(samples_[static_cast<size_t>(row)].number));
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (Validate())
            Finish(QDialog::Accepted);
    });
    // The sample received last, else the first one listed.
    int row = samples_.empty() ? -1 : 0;
    for (size_t i = 0; number && i < samples_.size(); ++i)
        if (samples_[i].number == *number)
            row = static_cast<int>(i);
    if (row >= 0)
        list_->setCurrentRow(row);
    else if (number_ && number)
        number_->setText(QString::number(*number));
}

std::optional<int32_t> CSamplerReceiveDialog::SampleNumber() const
{
    if (number_)
        return NumberIn(number_, capabilities_);
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(samples_.size()))
        return std::nullopt;
    return samples_[static_cast<size_t>(row)].number;
}

const SListedSample* CSamplerReceiveDialog::Chosen() const
{
    const std::optional<int32_t> number = SampleNumber();
    for (const SListedSample& sample : samples_)
        if (number && sample.number == *number)
            return &sample;
    return nullptr;
}

bool CSamplerReceiveDialog::Validate()
{
    if (SampleNumber())
        return true;
    ShowAlert(kNoSampleNumberAlert, {}, this);
    return false;
}

bool CSamplerReceiveDialog::Run(const CPersistentInstalledSampler& sampler, CABCSamplerInterface& device,
                                SSamplerFlowServices& services)
{
    std::optional<CLengthyTransferProgress> progress;
    return RunReceiveFlow(progress, services.parent, [&] {
        SamplerCapabilities capabilities;
        device.GetCapabilities(capabilities);
        std::vector<SListedSample> samples;
        {
            CLengthyTransferProgress listing(services.lengthy, Text(kReceivingNamesText));
            samples = ListSamples(device, capabilities, listing);
        }
        int32_t number = 0;
        SListedSample chosen;
        {
            CSamplerReceiveDialog dialog(sampler, capabilities, samples, services.memory.receiveNumber,
                                         services.parent);
            const std::optional<int32_t> picked = AskSampleNumber(dialog, services);
            if (!picked)
                return false;
            number = *picked;
            if (const SListedSample* listed = dialog.Chosen())
                chosen = *listed;
        }

        SampleInfo info;
        device.GetSampleInfo(info, number);
        const bool stereo = chosen.stereo || info.channelCount == 2;
        ChannelMode mode = ChannelMode::Mix;
        if (stereo) {
            const std::optional<ChannelMode> channel = CLeftMixRightReceiveDialog::AskChannel(services.parent);
            if (!channel)
                return false;
            mode = *channel;
        }
        // A sampler that sends both channels as one sample leaves the choice
        // to us; the others are asked for the one channel.
        const bool bothChannels = capabilities.features[SamplerCapabilities::kStereoReceiveFlag] != 0;
        std::unique_ptr<CABCSampleReceiver> receiver;
        if (!stereo || bothChannels)
            receiver = device.CreateReceiver(number);
        else
            receiver = device.CreateReceiverFor(number, mode == ChannelMode::Left    ? CLeftMixRightDialog::kLeft
                                                                   : mode == ChannelMode::Right ? CLeftMixRightDialog::kRight
                                                                                                : CLeftMixRightDialog::kMix);
        const SReceivedSample received = ReceiveWithProgress(std::move(receiver), number, progress, services.lengthy);

        std::string name(received.info.Name());
        if (name.empty())
            name = std::string(info.Name());
        if (name.empty())
            name = "Sample " + std::to_string(number);
        std::unique_ptr<WAVE_SAMPLE> sound = SoundFromReceived(received, name, mode);
        return OpenReceivedSound(std::move(sound), services);
    });
}

} // namespace quorvel
