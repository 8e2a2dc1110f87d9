#include "devices/scsi/SCSITargetListing.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "devices/scsi/SCSIBus.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"

namespace quorvel {

namespace {

constexpr uint32_t kListingTable = 129;
constexpr uint32_t kTargetAnswered = 60;
constexpr uint32_t kTargetNotReady = 61;
constexpr uint32_t kTargetUnknown = 62;
constexpr uint32_t kTargetHostAdapter = 63;

constexpr size_t kInquiryLength = 36;

std::string TrimmedText(const uint8_t* bytes, size_t length)
{
    std::string text;
    for (size_t i = 0; i < length && bytes[i]; ++i)
        text += static_cast<char>(bytes[i]);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// The entries are printf formats fixed in the program's own resources.
std::string Format(const std::string& format, int id, const char* vendor = "", const char* product = "")
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    std::array<char, 256> line{};
    std::snprintf(line.data(), line.size(), format.c_str(), id, vendor, product);
#pragma GCC diagnostic pop
    return line.data();
}

} // namespace

SInquiryTexts InquiryTexts(const uint8_t* answer, size_t length)
{
    SInquiryTexts texts;
    if (length > 8)
        texts.vendor = TrimmedText(answer + 8, std::min<size_t>(length, 16) - 8);
    if (length > 16)
        texts.product = TrimmedText(answer + 16, std::min<size_t>(length, 32) - 16);
    return texts;
}

std::vector<std::string> ListTargets(CSCSIBus& bus, CTextResources& texts, uint32_t timeoutMs)
{
    std::vector<std::string> lines;
    for (uint8_t id = 0; id < bus.TargetCount(); ++id) {
        if (id == bus.AdapterId()) {
            lines.push_back(Format(texts.Text(StringReference(kListingTable, kTargetHostAdapter)), id));
            continue;
        }
        auto block = MakeCommandBlock(kSCSIInquiry);
        block[4] = kInquiryLength;
        std::array<uint8_t, kInquiryLength> answer{};
        const SCSIResult result =
            bus.ExecuteIn(SCSIDevice{&bus, id, timeoutMs}, block.data(), answer.size(), answer.data());
        if (result.Good()) {
            const SInquiryTexts inquiry = InquiryTexts(answer.data(), answer.size());
            lines.push_back(Format(texts.Text(StringReference(kListingTable, kTargetAnswered)), id,
                                   inquiry.vendor.c_str(), inquiry.product.c_str()));
        } else if (result.kind == kSCSINoDevice) {
            lines.push_back(Format(texts.Text(StringReference(kListingTable, kTargetUnknown)), id));
        } else {
            lines.push_back(Format(texts.Text(StringReference(kListingTable, kTargetNotReady)), id));
        }
    }
    return lines;
}

} // namespace quorvel
