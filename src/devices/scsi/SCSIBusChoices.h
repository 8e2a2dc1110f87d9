#pragma once
// The buses a sampler's settings offer: every registered bus by name, or the
// one line "No SCSI available" when the machine has none.
#include <string>
#include <vector>

namespace quorvel {

class CSCSIBusRegistry;
class CTextResources;

std::vector<std::string> SCSIBusChoices(const CSCSIBusRegistry& registry, CTextResources& texts);

} // namespace quorvel
