#pragma once
// The receive dialog of the Kurzweil K2000/K2500: the sound blocks in the
// sampler's RAM by id and name; the chosen one opens in a new window.
#include <vector>

#include "ui/samplers/SamplerDialogs.h"

namespace quorvel {

class CABCK2000Interface;

class CK2000ReceiveDialog final : public CSamplerReceiveDialog {
    Q_OBJECT
public:
    // `blocks`: numbered by their ids; `chosen`: the id to select first, when listed.
    CK2000ReceiveDialog(const CPersistentInstalledSampler& sampler, std::vector<SListedSample> blocks,
                        std::optional<int32_t> chosen, QWidget* parent);

    // Lists the blocks, asks, then receives the chosen one (a stereo block asks for its
    // channel) into a new window. True when a window opened; a cancel or a failure (shown as
    // its alert) gives false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCK2000Interface& device,
                    SSamplerFlowServices& services);
};

} // namespace quorvel
