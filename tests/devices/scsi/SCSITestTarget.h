#pragma once
// A small target for the bus tests: answers INQUIRY with a fixed vendor and
// product, keeps what WRITE-style commands send it, returns it on reads, and
// can be told to answer the next command with another result.
#include <cstring>
#include <optional>
#include <vector>

#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSITarget.h"

namespace quorvel::test {

class CEchoTarget final : public ISCSITarget {
public:
    CEchoTarget(std::string vendor, std::string product) : vendor_(std::move(vendor)), product_(std::move(product)) {}

    SCSIResult Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length) override
    {
        commands.emplace_back(block, block + CommandBlockLength(block[0]));
        if (next) {
            const SCSIResult result = *next;
            next.reset();
            return result;
        }
        if (block[0] == kSCSIInquiry && direction == ESCSIDirection::kIn) {
            std::vector<uint8_t> answer(36, ' ');
            answer[0] = 0x03; // processor device, as samplers report
            std::memcpy(answer.data() + 8, vendor_.data(), std::min<size_t>(vendor_.size(), 8));
            std::memcpy(answer.data() + 16, product_.data(), std::min<size_t>(product_.size(), 16));
            std::memcpy(data, answer.data(), std::min(length, answer.size()));
        } else if (direction == ESCSIDirection::kOut) {
            stored.assign(data, data + length);
        } else if (direction == ESCSIDirection::kIn) {
            std::memcpy(data, stored.data(), std::min(length, stored.size()));
        }
        return {};
    }

    std::optional<SCSIResult> next;
    std::vector<uint8_t> stored;
    std::vector<std::vector<uint8_t>> commands;

private:
    std::string vendor_;
    std::string product_;
};

} // namespace quorvel::test
