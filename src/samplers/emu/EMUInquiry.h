#pragma once
// Telling an E-mu sampler from its SCSI inquiry answer: the model code its
// product text stands for and the firmware version in its revision field.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fileformats/PreferenceObjects.h"

namespace quorvel {

// The EOS code is never answered: an Emulator IV running firmware 4.0 or
// later is an EOS sampler.
constexpr uint32_t kEOSModelCode = 5101;
constexpr uint32_t kEmulatorIVModelCode = 5111;
constexpr uint32_t kESi32ModelCode = 5001;
constexpr uint32_t kESi4000ModelCode = 5011;

struct SEMUInquiry {
    uint32_t modelCode = 0; // 0: not a model this program knows
    CVersion firmware;
};

// The model code of a product text (blanks around it ignored), or 0.
uint32_t EMUModelCode(std::string_view product);

// Null unless the answer is a processor device (type 3) of vendor "E-mu".
// The model code comes from the product text, the firmware from the
// revision text: digits up to a "." or "," are the major number, the digits
// after it the minor one.
std::optional<SEMUInquiry> ReadEMUInquiry(const uint8_t* answer, size_t length);

// What a search records for the target: its model code, with an Emulator IV
// on firmware 4.0 or later taken for an EOS sampler; 0 when it is not an
// E-mu sampler this program knows.
uint32_t DetectedEMUModel(const SEMUInquiry& inquiry);

// Whether the target answering `inquiry` is the installed model `modelCode`:
// the same code, or an Emulator IV on firmware 4.0 or later standing in for
// any model but the ESi ones.
bool VerifyEMUModel(uint32_t modelCode, const SEMUInquiry& inquiry);

} // namespace quorvel
