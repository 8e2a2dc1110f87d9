#include "devices/emulated/SMDIEmulatorModel.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr uint64_t Bits(int from, int to)
{
    uint64_t mask = 0;
    for (int b = from; b <= to; ++b)
        mask |= uint64_t{1} << b;
    return mask;
}

// E-mu samplers keep 16-bit words; 8 and 24 are taken as well so that every
// word size the program sends can be checked bit for bit.
constexpr uint64_t kEmuBits = uint64_t{1} << 8 | uint64_t{1} << 16 | uint64_t{1} << 24;

void PutText(std::vector<uint8_t>& answer, size_t offset, size_t width, const char* text)
{
    std::memcpy(answer.data() + offset, text, std::min(width, std::strlen(text)));
}

} // namespace

const std::vector<SSMDIEmulatorModel>& SMDIEmulatorModels()
{
    // The E-mu firmware revision tells an Emulator IV with the EOS system
    // (4.0 and later) from one without it.
    static const std::vector<SSMDIEmulatorModel> models = {
        {"smdi", "SMDI", "Quorvel", "SMDI Sampler", "1.00", 0, 0xFFFFFF, false, 0, Bits(8, 32)},
        {"5001", "E-mu ESI-32 via SCSI", "E-mu", "ESi-32  Sampler", "3.02", 1, 999, true, 10, kEmuBits},
        {"5011", "E-mu ESI-4000 via SCSI", "E-mu", "ESi-4000 Sampler", "3.02", 1, 999, true, 10, kEmuBits},
        {"5101", "E-mu EOS Sampler via SCSI", "E-mu", "Emulator IV", "4.70", 1, 999, true, 10, kEmuBits},
        {"5111", "E-mu Emulator IV via SCSI", "E-mu", "Emulator IV", "3.00", 1, 999, true, 10, kEmuBits},
        {"5121", "E-mu E4K via SCSI", "E-mu", "Emulator 4K", "4.70", 1, 999, true, 10, kEmuBits},
        {"5131", "E-mu E4X via SCSI", "E-mu", "Emulator 4X", "4.70", 1, 999, true, 10, kEmuBits},
        {"5141", "E-mu E4X Turbo via SCSI", "E-mu", "Emulator 4Xturbo", "4.70", 1, 999, true, 10, kEmuBits},
        {"5201", "E-mu e-64 via SCSI", "E-mu", "e-64", "4.70", 1, 999, true, 10, kEmuBits},
        {"5211", "E-mu e-64fx via SCSI", "E-mu", "e-64 fx", "4.70", 1, 999, true, 10, kEmuBits},
        {"5221", "E-mu e-6400 via SCSI", "E-mu", "e6400", "4.70", 1, 999, true, 10, kEmuBits},
    };
    return models;
}

const SSMDIEmulatorModel* FindSMDIEmulatorModel(const std::string& id)
{
    for (const SSMDIEmulatorModel& model : SMDIEmulatorModels())
        if (id == model.id)
            return &model;
    return nullptr;
}

std::vector<uint8_t> SMDIInquiryAnswer(const SSMDIEmulatorModel& model)
{
    std::vector<uint8_t> answer(36, ' ');
    answer[0] = 0x03; // processor device
    answer[1] = 0x00; // not removable
    answer[2] = 0x02; // SCSI-2
    answer[3] = 0x02; // standard answer format
    answer[4] = 36 - 5;
    answer[5] = answer[6] = answer[7] = 0x00;
    PutText(answer, 8, 8, model.vendor);
    PutText(answer, 16, 16, model.product);
    PutText(answer, 32, 4, model.revision);
    return answer;
}

const std::vector<uint32_t>& EmuSampleRates()
{
    static const std::vector<uint32_t> rates = {48000, 44100, 32000, 22050, 11025, 8000};
    return rates;
}

} // namespace quorvel
