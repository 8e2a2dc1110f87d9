#pragma once
// The Kurzweil samplers of the model table that can be emulated: what each
// says in its Identity Reply and, for the MIDI+SCSI rows, to INQUIRY.
#include <cstdint>
#include <string>
#include <vector>

#include "devices/emulated/SMDIEmulatorModel.h"

namespace quorvel {

struct SKurzweilEmulatorModel {
    std::string id;   // the model table's type id, "1002"
    std::string name; // "Kurzweil K2000 via MIDI+SCSI"
    // Identity Reply: family and member codes (14 bits each) and the
    // operating-system version as major and minor (two decimal digits).
    uint16_t family = 0x78;
    uint16_t member = 0;
    uint8_t osMajor = 0;
    uint8_t osMinor = 0;
    // The SCSI target the MIDI+SCSI rows add; null for the MIDI rows.
    const SSMDIEmulatorModel* scsi = nullptr;
};

const std::vector<SKurzweilEmulatorModel>& KurzweilEmulatorModels();
// Null when `id` is not a Kurzweil model.
const SKurzweilEmulatorModel* FindKurzweilEmulatorModel(const std::string& id);

} // namespace quorvel
