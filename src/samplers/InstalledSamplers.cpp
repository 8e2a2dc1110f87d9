#include "samplers/InstalledSamplers.h"

#include "framework/ResourceReference.h"
#include "framework/TextResources.h"

namespace quorvel {

namespace {

constexpr uint32_t kSamplerTexts = 133;
constexpr uint32_t kTransmitTo = 1;
constexpr uint32_t kReceiveFrom = 2;
constexpr uint32_t kTransmitNotAvailable = 3;
constexpr uint32_t kReceiveNotAvailable = 4;
constexpr uint32_t kProposedNameStart = 40; // table 129

std::string SamplerText(CTextResources& texts, uint32_t entry)
{
    return texts.Text(StringReference(kSamplerTexts, entry));
}

uint32_t SoftwareTransmitText(uint32_t typeId)
{
    switch (typeId) {
    case kNewWindowModel:
        return 6;
    case kSampleCellModel:
        return 10;
    case kSoundFontModel:
        return 20;
    case kMixmanModel:
        return 25;
    case kSfzModel:
        return 30;
    case kHydrogenKitModel:
        return 35;
    default:
        return kTransmitNotAvailable;
    }
}

std::string CheckedName(const std::string& userName)
{
    if (userName.empty())
        throw XSamplerNameMissing();
    return userName.substr(0, CInstalledSamplers::kMaxUserName);
}

} // namespace

CPersistentInstalledSampler& CInstalledSamplers::Add(const SSamplerModel& model, const std::string& userName)
{
    CPersistentInstalledSampler sampler;
    sampler.modelTypeId = model.typeId;
    sampler.modelName = std::string(model.name);
    sampler.userName = CheckedName(userName);
    samplers_.push_back(std::move(sampler));
    return samplers_.back();
}

void CInstalledSamplers::Rename(size_t index, const std::string& userName)
{
    samplers_.at(index).userName = CheckedName(userName);
}

void CInstalledSamplers::Remove(size_t index)
{
    samplers_.erase(samplers_.begin() + static_cast<std::ptrdiff_t>(index));
    // The target stays on the same sampler when an earlier one goes.
    if (current_ > index)
        --current_;
}

void CInstalledSamplers::Assign(std::vector<CPersistentInstalledSampler> samplers) { samplers_ = std::move(samplers); }

const CPersistentInstalledSampler* CInstalledSamplers::Current() const
{
    return samplers_.empty() ? nullptr : &samplers_[CurrentIndex()];
}

const SSamplerModel* CInstalledSamplers::CurrentModel() const
{
    const CPersistentInstalledSampler* current = Current();
    return current == nullptr ? nullptr : FindSamplerModel(current->modelTypeId);
}

std::string CInstalledSamplers::ProposedName(CTextResources& texts, const SSamplerModel& model)
{
    return (texts.Text(StringReference(129, kProposedNameStart)) + std::string(model.name)).substr(0, kMaxUserName);
}

bool CanTransmit(const CPersistentInstalledSampler& sampler)
{
    const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId);
    return model != nullptr && model->canTransmit;
}

bool CanReceive(const CPersistentInstalledSampler& sampler)
{
    const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId);
    return model != nullptr && model->canReceive;
}

std::string TransmitMenuText(CTextResources& texts, const CPersistentInstalledSampler& sampler)
{
    const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId);
    if (model == nullptr || !model->canTransmit)
        return SamplerText(texts, kTransmitNotAvailable);
    if (IsSoftwareDestination(*model))
        return SamplerText(texts, SoftwareTransmitText(model->typeId));
    return SamplerText(texts, kTransmitTo) + sampler.userName;
}

std::string ReceiveMenuText(CTextResources& texts, const CPersistentInstalledSampler& sampler)
{
    const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId);
    if (model != nullptr && IsSoftwareDestination(*model))
        return {};
    if (model == nullptr || !model->canReceive)
        return SamplerText(texts, kReceiveNotAvailable);
    return SamplerText(texts, kReceiveFrom) + sampler.userName;
}

} // namespace quorvel
