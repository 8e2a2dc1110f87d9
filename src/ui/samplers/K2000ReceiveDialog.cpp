#include "ui/samplers/K2000ReceiveDialog.h"

#include "document/SoundDocument.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/ReceivedSound.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "ui/samplers/LeftMixRightReceiveDialog.h"
#include "ui/samplers/ReceiveFlow.h"

namespace quorvel {

namespace {

constexpr uint32_t kReceivingNamesText = StringReference(133, 300);

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
    return RunReceiveFlow(progress, services.parent, [&] {
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
            const std::optional<int32_t> picked = AskSampleNumber(dialog, services);
            if (!picked)
                return false;
            id = *picked;
        }

        SampleInfo info;
        device.GetSampleInfo(info, id);
        ChannelMode mode = ChannelMode::Mix;
        if (info.channelCount == 2) {
            const std::optional<ChannelMode> channel = CLeftMixRightReceiveDialog::AskChannel(services.parent);
            if (!channel)
                return false;
            mode = *channel;
        }
        const SReceivedSample received =
            ReceiveWithProgress(device.CreateReceiver(id), id, progress, services.lengthy);

        std::string name(received.info.Name());
        if (name.empty())
            name = std::string(info.Name());
        if (name.empty())
            name = "Sound Block " + std::to_string(id);
        return OpenReceivedSound(SoundFromReceived(received, name, mode), services);
    });
}

} // namespace quorvel
