#pragma once
// One system-exclusive message, received or to be sent: the bytes from 0xF0
// to 0xF7 inclusive.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace quorvel {

class CRawSysex {
public:
    // `capacity` bytes, all of them counted as the message (zero-filled).
    explicit CRawSysex(int32_t capacity);
    CRawSysex(std::initializer_list<uint8_t> bytes);
    explicit CRawSysex(const std::vector<uint8_t>& bytes);
    virtual ~CRawSysex() = default;

    // Grows or shrinks the message, keeping the bytes that remain.
    virtual void SetLength(int32_t length);

    uint8_t* GetData() { return data_.data(); }
    const uint8_t* GetData() const { return data_.data(); }
    int32_t GetLength() const { return static_cast<int32_t>(data_.size()); }
    // At least 2 bytes, 0xF0 first, 0xF7 last, nothing above 0x7F between.
    bool IsWellFormed() const;
    // XSysexTooSmall when shorter than `length`.
    void RequireLength(int32_t length) const;

private:
    std::vector<uint8_t> data_;
};

} // namespace quorvel
