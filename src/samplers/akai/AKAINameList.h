#pragma once
// The sampler's lists of resident program and sample names: F0 47 cc op 48,
// the count (14 bits), then 12 character codes per name, F7.
#include <string>
#include <vector>

#include "devices/midi/RawSysex.h"

namespace quorvel::akai {

class CAKAINameList {
public:
    // XAKAIUnexpectedCommand for another operation than `operation`;
    // XSysexInvalidSize when the length does not fit the count.
    void FromMessage(const CRawSysex& message, uint8_t operation);
    CRawSysex ToMessage(uint8_t channel, uint8_t operation) const;

    const std::vector<std::string>& Names() const { return names_; }
    std::vector<std::string>& Names() { return names_; }
    // The index of `name` (compared as the sampler stores it), or -1.
    int32_t Find(const std::string& name) const;

private:
    std::vector<std::string> names_;
};

} // namespace quorvel::akai
