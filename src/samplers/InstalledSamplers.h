#pragma once
// The samplers the user installed, in the order they were added, and the
// current transmit target among them. Each names its model by type id; the
// menus and dialogs read the model's flags from the model table.
#include <cstddef>
#include <string>
#include <vector>

#include "fileformats/PreferenceObjects.h"
#include "samplers/SamplerModels.h"

namespace quorvel {

class CTextResources;

QUORVEL_EXCEPTION(XSamplerNameMissing, XBase);

class CInstalledSamplers {
public:
    static constexpr size_t kMaxUserName = 39;
    static constexpr size_t kMaxMenuItems = 89;

    const std::vector<CPersistentInstalledSampler>& Samplers() const { return samplers_; }
    size_t Count() const { return samplers_.size(); }
    bool Empty() const { return samplers_.empty(); }

    // Installs a sampler of `model`; XSamplerNameMissing for an empty name.
    CPersistentInstalledSampler& Add(const SSamplerModel& model, const std::string& userName);
    void Rename(size_t index, const std::string& userName);
    void Remove(size_t index);
    // Replaces the list (after reading the preferences), keeping the current
    // index when it still names a sampler.
    void Assign(std::vector<CPersistentInstalledSampler> samplers);

    // The current transmit target: its index, 0 when the stored one is gone.
    size_t CurrentIndex() const { return current_ < samplers_.size() ? current_ : 0; }
    void SetCurrentIndex(size_t index) { current_ = index; }
    // Null without installed samplers.
    const CPersistentInstalledSampler* Current() const;
    const SSamplerModel* CurrentModel() const;

    // "My " and the model's name, shortened to fit a user name.
    static std::string ProposedName(CTextResources& texts, const SSamplerModel& model);

private:
    std::vector<CPersistentInstalledSampler> samplers_;
    size_t current_ = 0;
};

// The Sampler menu's Transmit and Receive texts for the current sampler;
// with none installed the menu's own texts stay.
std::string TransmitMenuText(CTextResources& texts, const CPersistentInstalledSampler& sampler);
// Empty when the menu's own text should stay (software destinations).
std::string ReceiveMenuText(CTextResources& texts, const CPersistentInstalledSampler& sampler);
bool CanTransmit(const CPersistentInstalledSampler& sampler);
bool CanReceive(const CPersistentInstalledSampler& sampler);

} // namespace quorvel
