#include "ui/samplers/K2000ReceiveDialog.h"

#include "document/SoundDocument.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/ReceivedSound.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "ui/samplers/LeftMixRightReceiveDialog.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

namespace {

constexpr uint32_t kReceiveCancelledText = StringReference(129, 25);
constexpr uint32_t kReceivingDataText = StringReference(129, 27);
constexpr uint32_t kReceivingNamesText = StringReference(133, 300);
constexpr uint32_t kNoSampleNumberAlert = AlertReference(132, 72);

std::string Text(uint32_t reference) { return BuiltInTextResources().Text(reference); }

} // namespace

// The sampler numbers its blocks itself: no number field, the list alone.
CK2000ReceiveDialog::CK2000ReceiveDialog(const CPersistentInstalledSampler& sampler, std::vector<SListedSample> blocks,
                                         std::optional<int32_t> chosen, QWidget* parent)
    : CSamplerReceiveDialog(sampler, SamplerCapabilities{}, std::move(blocks), chosen, parent)
{
}

bool CK2000ReceiveDialog::Run(const CPersistentInstalledSampler& sampler, CABCK2000Interface& device,
                              SSamplerFlowServices& services)
{
    std::optional<CLengthyTransferProgress> progress;
    try {
        std::vector<SListedSample> blocks;
        {
            CLengthyTransferProgress listing(services.lengthy, Text(kReceivingNamesText));
            SamplerCapabilities capabilities;
            device.GetCapabilities(capabilities);
            blocks = ListSamples(device, capabilities, listing);
        }
        int32_t id = 0;
        {
            CK2000ReceiveDialog dialog(sampler, blocks, services.memory.receiveNumber, services.parent);
            if (dialog.RunModal() != QDialog::Accepted)
                return false;
            const std::optional<int32_t> picked = dialog.SampleNumber();
            if (!picked) {
                ShowAlert(kNoSampleNumberAlert, {}, services.parent);
                return false;
            }
            id = *picked;
        }
        services.memory.receiveNumber = id;

        SampleInfo info;
        device.GetSampleInfo(info, id);
        ChannelMode mode = ChannelMode::Mix;
        if (info.channelCount == 2) {
            const std::optional<ChannelMode> channel = CLeftMixRightReceiveDialog::AskChannel(services.parent);
            if (!channel)
                return false;
            mode = *channel;
        }
        std::unique_ptr<CABCSampleReceiver> receiver = device.CreateReceiver(id);
        if (!receiver)
            throw XSamplerException();
        progress.emplace(services.lengthy, Text(kReceivingDataText));
        progress->SetValue(id);
        const SReceivedSample received = ReceiveSample(*receiver, kWantedFramesPerPacket, *progress);
        receiver.reset();
        progress.reset();
        if (received.info.length == 0)
            throw XSampleDoesNotExist();

        std::string name(received.info.Name());
        if (name.empty())
            name = std::string(info.Name());
        if (name.empty())
            name = "Sound Block " + std::to_string(id);
        return OpenReceivedSound(SoundFromReceived(received, name, mode), services);
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
