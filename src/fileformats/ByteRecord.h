#pragma once
// Builds a little-endian binary record field by field, for the formats whose
// layouts are written as fixed sequences of fields.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/Media.h"

namespace quorvel {

class CByteRecord {
public:
    CByteRecord& U8(uint8_t v)
    {
        bytes_.push_back(v);
        return *this;
    }
    CByteRecord& U16(uint16_t v) { return Put(v, 2, false); }
    CByteRecord& U32(uint32_t v) { return Put(v, 4, false); }
    CByteRecord& BE32(uint32_t v) { return Put(v, 4, true); }
    CByteRecord& Double(double v) { return Put(std::bit_cast<uint64_t>(v), 8, false); }
    CByteRecord& Raw(std::initializer_list<uint8_t> bytes)
    {
        for (uint8_t b : bytes)
            bytes_.push_back(b);
        return *this;
    }
    CByteRecord& Raw(const std::vector<uint8_t>& bytes)
    {
        for (uint8_t b : bytes)
            bytes_.push_back(b);
        return *this;
    }
    CByteRecord& Text(const std::string& text)
    {
        for (char c : text)
            bytes_.push_back(static_cast<uint8_t>(c));
        return *this;
    }
    CByteRecord& Zeros(size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            bytes_.push_back(0);
        return *this;
    }
    // The text cut to field - 1 characters, zero-filled to the field's size.
    CByteRecord& Name(const std::string& text, size_t field)
    {
        const size_t kept = std::min(text.size(), field - 1);
        return Text(text.substr(0, kept)).Zeros(field - kept);
    }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    int32_t Size() const { return static_cast<int32_t>(bytes_.size()); }
    void WriteTo(CMedia& media) const { media.Write(Size(), bytes_.data()); }

private:
    // Byte by byte: the compiler's overflow checks misread bulk resizes here.
    CByteRecord& Put(uint64_t v, int count, bool bigEndian)
    {
        for (int i = 0; i < count; ++i)
            bytes_.push_back(static_cast<uint8_t>(v >> (8 * (bigEndian ? count - 1 - i : i))));
        return *this;
    }

    std::vector<uint8_t> bytes_;
};

} // namespace quorvel
