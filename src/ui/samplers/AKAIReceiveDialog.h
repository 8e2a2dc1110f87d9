#pragma once
// The receive dialog of the AKAI samplers: the sampler's samples by name,
// in its own order; the chosen one opens in a new window.
#include <string>
#include <vector>

#include "ui/samplers/SamplerDialogs.h"

namespace quorvel {

class CABCAKAIInterface;

class CAKAIReceiveDialog final : public CSamplerReceiveDialog {
    Q_OBJECT
public:
    // The samples in the sampler's order, numbered by their place;
    // `chosen`: the number to select first, when listed.
    CAKAIReceiveDialog(const CPersistentInstalledSampler& sampler, const std::vector<std::string>& samples,
                       std::optional<int32_t> chosen, QWidget* parent);

    // Lists the samples, asks, then receives the chosen one into a new
    // window. True when a window opened; a cancel or a failure (shown as
    // its alert) gives false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCAKAIInterface& device,
                    SSamplerFlowServices& services);
};

} // namespace quorvel
