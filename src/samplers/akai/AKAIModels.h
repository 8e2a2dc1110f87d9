#pragma once
// The AKAI rows of the model table: which generation of the protocol each
// speaks, and which reach the sampler over MIDI or SCSI.
#include <cstdint>
#include <optional>

#include "samplers/akai/AKAIDataBlock.h"

namespace quorvel::akai {

constexpr uint32_t kS1000MIDIModel = 4000;
constexpr uint32_t kS1100MIDIModel = 4010;
constexpr uint32_t kS3000MIDIModel = 4100;

// The generation of an AKAI MIDI model; nothing for any other type id.
std::optional<EGeneration> MIDIModelGeneration(uint32_t typeId);
// The AKAI models reached over SCSI (S2000, S3000XL, S3200XL, CD3000XL),
// all of the S3000 generation.
bool IsSCSIModel(uint32_t typeId);

} // namespace quorvel::akai
