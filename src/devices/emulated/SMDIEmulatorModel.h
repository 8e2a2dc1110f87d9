#pragma once
// The samplers the SMDI emulator can stand for: the plain SMDI sampler and
// the E-mu models, each with what its inquiry answer says and what it can
// hold.
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

struct SSMDIEmulatorModel {
    const char* id;       // as QUORVEL_EMULATED_SAMPLERS names it: "smdi", "5011"
    const char* name;     // for messages: "SMDI", "E-mu ESI-4000 via SCSI"
    const char* vendor;   // inquiry bytes 8-15
    const char* product;  // inquiry bytes 16-31
    const char* revision; // inquiry bytes 32-35
    uint32_t firstNumber;
    uint32_t lastNumber;
    // Only the rates of the E-mu table (within 1 Hz); otherwise any period.
    bool tableRatesOnly;
    uint32_t minimumFrames;
    // Bit b set: words of b bits are taken.
    uint64_t bitsAccepted;
};

const std::vector<SSMDIEmulatorModel>& SMDIEmulatorModels();
// Null when no SMDI emulator has that id.
const SSMDIEmulatorModel* FindSMDIEmulatorModel(const std::string& id);

// The 36-byte INQUIRY answer: device type 3 (processor), the texts padded
// with blanks.
std::vector<uint8_t> SMDIInquiryAnswer(const SSMDIEmulatorModel& model);

// The rates an E-mu sampler plays.
const std::vector<uint32_t>& EmuSampleRates();

} // namespace quorvel
