#include "devices/midi/RawSysex.h"

#include <algorithm>

#include "devices/midi/MIDIExceptions.h"

namespace quorvel {

CRawSysex::CRawSysex(int32_t capacity) : data_(static_cast<size_t>(std::max(capacity, 0))) {}

CRawSysex::CRawSysex(std::initializer_list<uint8_t> bytes) : data_(bytes) {}

CRawSysex::CRawSysex(const std::vector<uint8_t>& bytes) : data_(bytes) {}

void CRawSysex::SetLength(int32_t length) { data_.resize(static_cast<size_t>(std::max(length, 0))); }

bool CRawSysex::IsWellFormed() const
{
    if (data_.size() < 2 || data_.front() != 0xF0 || data_.back() != 0xF7)
        return false;
    return std::all_of(data_.begin() + 1, data_.end() - 1, [](uint8_t b) { return b < 0x80; });
}

void CRawSysex::RequireLength(int32_t length) const
{
    if (GetLength() < length)
        throw XSysexTooSmall();
}

} // namespace quorvel
