#include "devices/emulated/AKAISCSIEmulatorModel.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

void PutText(std::vector<uint8_t>& answer, size_t offset, size_t width, const std::string& text)
{
    std::memcpy(answer.data() + offset, text.data(), std::min(width, text.size()));
}

} // namespace

const std::vector<SAKAISCSIEmulatorModel>& AKAISCSIEmulatorModels()
{
    static const std::vector<SAKAISCSIEmulatorModel> models = {
        {{"4131", "AKAI S2000 via SCSI", false, 2, 0, 16u << 20}, "S2000 SAMPLER"},
        {{"4151", "AKAI S3000XL via SCSI", false, 2, 0, 16u << 20}, "S3000XL SAMPLER"},
        {{"4161", "AKAI S3200XL via SCSI", false, 2, 0, 16u << 20}, "S3200XL SAMPLER"},
        {{"4171", "AKAI CD3000XL via SCSI", false, 2, 0, 16u << 20}, "CD3000XL SAMPLER"},
    };
    return models;
}

const SAKAISCSIEmulatorModel* FindAKAISCSIEmulatorModel(const std::string& id)
{
    for (const SAKAISCSIEmulatorModel& model : AKAISCSIEmulatorModels())
        if (model.sampler.id == id)
            return &model;
    return nullptr;
}

std::vector<uint8_t> AKAIInquiryAnswer(const SAKAISCSIEmulatorModel& model)
{
    std::vector<uint8_t> answer(36, ' ');
    answer[0] = 0x03; // processor device
    answer[1] = 0x00;
    answer[2] = 0x02; // SCSI-2
    answer[3] = 0x02; // standard answer format
    answer[4] = 36 - 5;
    answer[5] = answer[6] = answer[7] = 0x00;
    PutText(answer, 8, 8, "AKAI EMI");
    PutText(answer, 16, 16, model.product);
    PutText(answer, 32, 4, "2.00");
    return answer;
}

} // namespace quorvel
