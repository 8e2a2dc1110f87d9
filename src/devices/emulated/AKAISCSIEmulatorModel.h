#pragma once
// The AKAI samplers of the model table that are reached over SCSI: the
// sampler they play (always the later generation) and what they answer to
// INQUIRY.
#include <cstdint>
#include <string>
#include <vector>

#include "devices/emulated/AKAIEmulatorModel.h"

namespace quorvel {

struct SAKAISCSIEmulatorModel {
    SAKAIEmulatorModel sampler; // id "4151", name "AKAI S3000XL via SCSI"
    std::string product;        // the INQUIRY product, "S3000XL SAMPLER"
};

const std::vector<SAKAISCSIEmulatorModel>& AKAISCSIEmulatorModels();
// nullptr when `id` is not an AKAI SCSI model.
const SAKAISCSIEmulatorModel* FindAKAISCSIEmulatorModel(const std::string& id);

// The 36-byte standard INQUIRY answer: processor device, vendor "AKAI EMI",
// the product, revision "2.00".
std::vector<uint8_t> AKAIInquiryAnswer(const SAKAISCSIEmulatorModel& model);

} // namespace quorvel
