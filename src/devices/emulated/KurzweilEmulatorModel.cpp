#include "devices/emulated/KurzweilEmulatorModel.h"

namespace quorvel {

namespace {

// Bits 8 to 28: every width the Sample Dump Standard carries, so that a
// sample taken over SCSI can also be dumped over MIDI.
constexpr uint64_t kBits8To28 = ((uint64_t{1} << 29) - 1) & ~((uint64_t{1} << 8) - 1);

// Sample number n holds the data of sound block n + 1, and block ids are
// 16-bit numbers.
const SSMDIEmulatorModel kK2000SCSI = {"1002", "Kurzweil K2000 via MIDI+SCSI", "KURZWEIL", "K2000", "3.01",
                                       0, 0xFFFE, false, 0, kBits8To28};
const SSMDIEmulatorModel kK2500SCSI = {"1012", "Kurzweil K2500 via MIDI+SCSI", "KURZWEIL", "K2500", "2.80",
                                       0, 0xFFFE, false, 0, kBits8To28};

} // namespace

const std::vector<SKurzweilEmulatorModel>& KurzweilEmulatorModels()
{
    // Both machines carry the product byte 78h in their messages; the
    // member code tells them apart.
    static const std::vector<SKurzweilEmulatorModel> models = {
        {"1000", "Kurzweil K2000 via MIDI", 0x78, 0, 3, 1, nullptr},
        {"1002", "Kurzweil K2000 via MIDI+SCSI", 0x78, 0, 3, 1, &kK2000SCSI},
        {"1010", "Kurzweil K2500 via MIDI", 0x78, 1, 2, 80, nullptr},
        {"1012", "Kurzweil K2500 via MIDI+SCSI", 0x78, 1, 2, 80, &kK2500SCSI},
    };
    return models;
}

const SKurzweilEmulatorModel* FindKurzweilEmulatorModel(const std::string& id)
{
    for (const SKurzweilEmulatorModel& model : KurzweilEmulatorModels())
        if (model.id == id)
            return &model;
    return nullptr;
}

} // namespace quorvel
