#pragma once
// The model table's EPS, EPS-16+ and ASR-10 rows, and their interfaces on
// ports already open or on an installed sampler's registered ports.
#include <cstdint>
#include <memory>

#include "samplers/ensoniq/EnsoniqInterface.h"

namespace quorvel {

class CRegisteredMIDIInput;
class CRegisteredMIDIOutput;

namespace ensoniq {
constexpr uint32_t kEPSModel = 3000;
constexpr uint32_t kEPS16Model = 3010;
constexpr uint32_t kASR10Model = 3020;
bool IsEnsoniqModel(uint32_t typeId);
} // namespace ensoniq

// On open ports (not owned); null for another model.
std::unique_ptr<CABCEnsoniqInterface> CreateEnsoniqInterface(uint32_t typeId, CSysexMIDIInput& input,
                                                             CMIDIOutput& output, uint8_t channel);
// Opens the ports and keeps them for the interface's life;
// XFailedOpeningMIDIIn or XFailedOpeningMIDIOut when one does not open.
std::unique_ptr<CABCEnsoniqInterface> CreateInstalledEnsoniqInterface(uint32_t typeId,
                                                                      const CRegisteredMIDIInput& input,
                                                                      const CRegisteredMIDIOutput& output,
                                                                      uint8_t channel);

} // namespace quorvel
