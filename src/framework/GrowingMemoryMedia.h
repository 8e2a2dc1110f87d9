#pragma once
// A memory stream that grows as it is written, for data whose final size is
// only known once it has been built. Reading past what was written throws.
#include <cstdint>
#include <vector>

#include "framework/Media.h"

namespace quorvel {

class CGrowingMemoryMedia : public CMedia {
public:
    CGrowingMemoryMedia() = default;

    void Read(int32_t count, void* buffer) override;
    void Write(int32_t count, const void* buffer) override;
    int32_t GetPosition() override { return position_; }
    void SetPosition(int32_t position) override;
    int32_t GetLength() override { return static_cast<int32_t>(bytes_.size()); }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    int32_t position_ = 0;
};

} // namespace quorvel
