#include "ui/samplers/AKAIReceiveDialog.h"

#include "document/SoundDocument.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/ReceivedSound.h"
#include "samplers/akai/AKAIInterface.h"
#include "ui/samplers/ReceiveFlow.h"

namespace quorvel {

namespace {

constexpr uint32_t kReceivingNamesText = StringReference(133, 300);

std::string Text(uint32_t reference) { return BuiltInTextResources().Text(reference); }

} // namespace

namespace {

std::vector<SListedSample> Listed(const std::vector<std::string>& names)
{
    std::vector<SListedSample> samples;
    for (size_t i = 0; i < names.size(); ++i)
        samples.push_back({static_cast<int32_t>(i), names[i], false, -1});
    return samples;
}

} // namespace

// The sampler numbers its samples itself: no number field, the list alone.
CAKAIReceiveDialog::CAKAIReceiveDialog(const CPersistentInstalledSampler& sampler,
                                       const std::vector<std::string>& samples, std::optional<int32_t> chosen,
                                       QWidget* parent)
    : CSamplerReceiveDialog(sampler, SamplerCapabilities{}, Listed(samples), chosen, parent)
{
}

bool CAKAIReceiveDialog::Run(const CPersistentInstalledSampler& sampler, CABCAKAIInterface& device,
                             SSamplerFlowServices& services)
{
    std::optional<CLengthyTransferProgress> progress;
    return RunReceiveFlow(progress, services.parent, [&] {
        std::vector<std::string> samples;
        {
            CLengthyTransferProgress listing(services.lengthy, Text(kReceivingNamesText));
            samples = device.SampleNames();
        }
        int32_t number = 0;
        {
            CAKAIReceiveDialog dialog(sampler, samples, services.memory.receiveNumber, services.parent);
            const std::optional<int32_t> picked = AskSampleNumber(dialog, services);
            if (!picked)
                return false;
            number = *picked;
        }

        // The family keeps mono samples only: no channel to ask for.
        const SReceivedSample received =
            ReceiveWithProgress(device.CreateReceiver(number), number, progress, services.lengthy);

        std::string name(received.info.Name());
        if (name.empty())
            name = samples[static_cast<size_t>(number)];
        std::unique_ptr<WAVE_SAMPLE> sound = SoundFromReceived(received, name, ChannelMode::Mix);
        return OpenReceivedSound(std::move(sound), services);
    });
}

} // namespace quorvel
