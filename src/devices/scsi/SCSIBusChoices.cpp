#include "devices/scsi/SCSIBusChoices.h"

#include "devices/scsi/SCSIBusRegistry.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"

namespace quorvel {

namespace {
constexpr uint32_t kNoSCSIAvailable = StringReference(129, 37);
}

std::vector<std::string> SCSIBusChoices(const CSCSIBusRegistry& registry, CTextResources& texts)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < registry.Count(); ++i)
        names.push_back(registry.Bus(i)->Name());
    if (names.empty())
        names.push_back(texts.Text(kNoSCSIAvailable));
    return names;
}

} // namespace quorvel
