#pragma once
// The lines that show what sits on a bus, one per target id:
// `0: "VENDOR" "PRODUCT"`, `1: Not Ready`, `2: ???`, `7: Host Adapter`.
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

class CSCSIBus;
class CTextResources;

// An INQUIRY answer's vendor (bytes 8-15) and product (16-31) texts, with
// the trailing blanks the standard pads them with removed.
struct SInquiryTexts {
    std::string vendor;
    std::string product;
};
SInquiryTexts InquiryTexts(const uint8_t* answer, size_t length);

// Sends INQUIRY to every target but the adapter's own id: an answer gives
// the vendor line, no device gives "???", any other result "Not Ready".
std::vector<std::string> ListTargets(CSCSIBus& bus, CTextResources& texts, uint32_t timeoutMs = 2000);

} // namespace quorvel
