#include "samplers/emu/EMUInquiry.h"

#include <algorithm>
#include <array>
#include <string>

namespace quorvel {

namespace {

constexpr size_t kTypeOffset = 0;
constexpr uint8_t kProcessorDevice = 3;
constexpr size_t kVendorOffset = 8;
constexpr size_t kProductOffset = 16;
constexpr size_t kRevisionOffset = 32;
constexpr size_t kFieldEnd = 36;
constexpr std::string_view kVendor = "E-mu";

struct SProduct {
    std::string_view text;
    uint32_t code;
};

constexpr std::array<SProduct, 9> kProducts{{
    {"ESi-32  Sampler", 5001},
    {"ESi-4000 Sampler", 5011},
    {"Emulator IV", 5111},
    {"Emulator 4K", 5121},
    {"Emulator 4X", 5131},
    {"Emulator 4Xturbo", 5141},
    {"e-64", 5201},
    {"e-64 fx", 5211},
    {"e6400", 5221},
}};

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\0'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The field's bytes that the answer holds.
std::string_view Field(const uint8_t* answer, size_t length, size_t offset, size_t end)
{
    if (length <= offset)
        return {};
    return {reinterpret_cast<const char*>(answer) + offset, std::min(length, end) - offset};
}

uint8_t Number(std::string_view digits)
{
    unsigned value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 255)
            return 255;
    }
    return static_cast<uint8_t>(value);
}

CVersion Firmware(std::string_view revision)
{
    revision = Trimmed(revision);
    const size_t separator = revision.find_first_of(".,");
    CVersion version;
    version.major = Number(revision.substr(0, separator));
    if (separator != std::string_view::npos)
        version.minor = Number(revision.substr(separator + 1));
    return version;
}

bool AtLeastFour(const CVersion& version) { return version.major >= 4; }

} // namespace

uint32_t EMUModelCode(std::string_view product)
{
    product = Trimmed(product);
    for (const SProduct& known : kProducts)
        if (product == known.text)
            return known.code;
    return 0;
}

std::optional<SEMUInquiry> ReadEMUInquiry(const uint8_t* answer, size_t length)
{
    // The whole byte: a qualifier in the top bits means no device is connected.
    if (length <= kTypeOffset || answer[kTypeOffset] != kProcessorDevice)
        return std::nullopt;
    if (Trimmed(Field(answer, length, kVendorOffset, kProductOffset)) != kVendor)
        return std::nullopt;
    SEMUInquiry inquiry;
    inquiry.modelCode = EMUModelCode(Field(answer, length, kProductOffset, kRevisionOffset));
    inquiry.firmware = Firmware(Field(answer, length, kRevisionOffset, kFieldEnd));
    return inquiry;
}

uint32_t DetectedEMUModel(const SEMUInquiry& inquiry)
{
    if (inquiry.modelCode == kEmulatorIVModelCode && AtLeastFour(inquiry.firmware))
        return kEOSModelCode;
    return inquiry.modelCode;
}

bool VerifyEMUModel(uint32_t modelCode, const SEMUInquiry& inquiry)
{
    if (modelCode == 0)
        return false;
    if (inquiry.modelCode == modelCode)
        return true;
    return inquiry.modelCode == kEmulatorIVModelCode && modelCode != kESi32ModelCode &&
           modelCode != kESi4000ModelCode && AtLeastFour(inquiry.firmware);
}

} // namespace quorvel
