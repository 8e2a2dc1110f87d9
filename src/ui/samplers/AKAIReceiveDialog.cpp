#include "ui/samplers/AKAIReceiveDialog.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "document/SoundDocument.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/ReceivedSound.h"
#include "samplers/akai/AKAIInterface.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

namespace {

constexpr uint32_t kReceiveCancelledText = StringReference(129, 25);
constexpr uint32_t kReceivingDataText = StringReference(129, 27);
constexpr uint32_t kReceivingNamesText = StringReference(133, 300);
constexpr uint32_t kNoSampleNumberAlert = AlertReference(132, 72);
constexpr uint32_t kNoWindowAlert = AlertReference(129, 90);

std::string Text(uint32_t reference) { return BuiltInTextResources().Text(reference); }

} // namespace

CAKAIReceiveDialog::CAKAIReceiveDialog(const CPersistentInstalledSampler& sampler,
                                       const std::vector<std::string>& samples, std::optional<int32_t> chosen,
                                       QWidget* parent)
    : CSamplerDialog(sampler, parent)
{
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("samples"));
    for (const std::string& name : samples)
        list_->addItem(QString::fromStdString(name));
    Body()->addWidget(list_);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (Validate())
            Finish(QDialog::Accepted);
    });
    const int count = static_cast<int>(samples.size());
    if (count > 0)
        list_->setCurrentRow(chosen && *chosen >= 0 && *chosen < count ? *chosen : 0);
}

std::optional<int32_t> CAKAIReceiveDialog::SampleNumber() const
{
    const int row = list_->currentRow();
    if (row < 0 || row >= list_->count())
        return std::nullopt;
    return row;
}

bool CAKAIReceiveDialog::Validate()
{
    if (SampleNumber())
        return true;
    ShowAlert(kNoSampleNumberAlert, {}, this);
    return false;
}

bool CAKAIReceiveDialog::Run(const CPersistentInstalledSampler& sampler, CABCAKAIInterface& device,
                             SSamplerFlowServices& services)
{
    std::optional<CLengthyTransferProgress> progress;
    try {
        std::vector<std::string> samples;
        {
            CLengthyTransferProgress listing(services.lengthy, Text(kReceivingNamesText));
            samples = device.SampleNames();
        }
        int32_t number = 0;
        {
            CAKAIReceiveDialog dialog(sampler, samples, services.memory.receiveNumber, services.parent);
            if (dialog.RunModal() != QDialog::Accepted)
                return false;
            const std::optional<int32_t> picked = dialog.SampleNumber();
            if (!picked) {
                ShowAlert(kNoSampleNumberAlert, {}, services.parent);
                return false;
            }
            number = *picked;
        }
        services.memory.receiveNumber = number;

        // The family keeps mono samples only: no channel to ask for.
        std::unique_ptr<CABCSampleReceiver> receiver = device.CreateReceiver(number);
        if (!receiver)
            throw XSamplerException();
        progress.emplace(services.lengthy, Text(kReceivingDataText));
        progress->SetValue(number);
        const SReceivedSample received = ReceiveSample(*receiver, kWantedFramesPerPacket, *progress);
        receiver.reset();
        progress.reset();
        if (received.info.length == 0)
            throw XSampleDoesNotExist();

        std::string name(received.info.Name());
        if (name.empty())
            name = samples[static_cast<size_t>(number)];
        std::unique_ptr<WAVE_SAMPLE> sound = SoundFromReceived(received, name, ChannelMode::Mix);
        try {
            services.openWindow(std::make_unique<CSoundDocument>(
                std::move(sound), services.settings.documentDefaults,
                services.settings.application.barsToOneInNewDocuments));
        } catch (const std::bad_alloc&) {
            ShowAlert(kNoWindowAlert, {}, services.parent);
            return false;
        } catch (const XOutOfMemory&) {
            ShowAlert(kNoWindowAlert, {}, services.parent);
            return false;
        }
        return true;
    } catch (const XSampleReceiveCancelled&) {
        if (progress)
            progress->ShowCancelled(Text(kReceiveCancelledText));
    } catch (...) {
        progress.reset();
        if (const std::optional<uint32_t> alert =
                DialogFailureAlert(std::current_exception(), TransferDirection::Receive))
            ShowAlert(*alert, {}, services.parent);
    }
    return false;
}

} // namespace quorvel
