#pragma once
// The Kurzweil rows of the model table, and the interface an installed one
// of them is reached through.
#include <cstdint>
#include <memory>
#include <optional>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBus.h"
#include "samplers/SamplerInterface.h"

namespace quorvel::kurzweil {

constexpr uint32_t kK2000MIDIModel = 1000;
constexpr uint32_t kK2000MIDIAndSCSIModel = 1002;
constexpr uint32_t kK2500MIDIModel = 1010;
constexpr uint32_t kK2500MIDIAndSCSIModel = 1012;

bool IsKurzweilModel(uint32_t typeId);
// The MIDI+SCSI rows: sample data over SCSI.
bool UsesSCSIForData(uint32_t typeId);
bool IsK2500(uint32_t typeId);

// The model's interface on ports it opens and keeps open for its lifetime;
// `target` is needed (and used) for the MIDI+SCSI rows only.
// XFailedOpeningMIDIIn / XFailedOpeningMIDIOut when a port does not open;
// XSamplerNotSupported for another model or a MIDI+SCSI row without target.
std::unique_ptr<CABCSamplerInterface> OpenKurzweilInterface(uint32_t typeId, const CRegisteredMIDIInput& input,
                                                            const CRegisteredMIDIOutput& output, uint8_t device,
                                                            const std::optional<SCSIDevice>& target);

} // namespace quorvel::kurzweil
