#pragma once
// Paged store of 16-bit sample values: 16 KB pages behind a fixed page table,
// so that no sound ever needs one large contiguous block and whole-sound work
// walks plain arrays page run by page run.
#include <array>
#include <cstdint>
#include <cstring>

#include "framework/Media.h"

namespace quorvel {

class BAT {
public:
    static constexpr uint32_t kPageBytes = 16384;
    static constexpr uint32_t kPageValues = kPageBytes / 2;
    static constexpr uint32_t kMaxPages = 4086;
    static constexpr uint32_t kMaxBytes = kPageBytes * kMaxPages; // 66,945,024
    static constexpr uint32_t kGuard1 = 0x57A51555;
    static constexpr uint32_t kGuard2 = 0xE2DE2DE2;
    // Pages are carved from slabs of up to 2 MB, so that a five-minute sound
    // costs a few dozen mappings (and huge pages where the kernel offers
    // them) instead of thousands of page faults on 16 KB heap blocks.
    static constexpr uint32_t kPagesPerSlab = 128;
    static constexpr uint32_t kMaxSlabs = (kMaxPages + kPagesPerSlab - 1) / kPagesPerSlab;

    // Provides ceil(size / 16384) zeroed pages; sizes above kMaxBytes throw
    // XOutOfMemory, as does a failed allocation (after freeing the rest).
    explicit BAT(uint32_t sizeInBytes);
    virtual ~BAT();
    BAT(const BAT&) = delete;
    BAT& operator=(const BAT&) = delete;

    uint32_t Size() const { return size_; }
    uint32_t PageCount() const { return (size_ + kPageBytes - 1) / kPageBytes; }
    int16_t* Page(uint32_t index) const { return pages_[index]; }
    bool GuardsIntact() const { return guard1_ == kGuard1 && guard2_ == kGuard2; }

    // Value i, no bounds check: one shift and one mask.
    int16_t ReadSample(uint32_t i) const { return pages_[i >> 13][i & (kPageValues - 1)]; }
    void WriteSample(uint32_t i, int16_t value) { pages_[i >> 13][i & (kPageValues - 1)] = value; }
    uint8_t ReadByte(uint32_t offset) const;

    // Splits [start, start + count) into in-page runs and calls
    // f(bytesDone, runPointer, runLength) for each, in order. A run callback
    // returning false stops the walk with XBase. A range outside the store
    // throws XPosition before any callback runs.
    template <class RunFn>
    void ForEachRun(uint32_t start, uint32_t count, RunFn&& f)
    {
        if (uint64_t(start) + count > size_)
            throw XPosition();
        uint32_t done = 0;
        while (done < count) {
            const uint32_t at = start + done;
            const uint32_t inPage = at & (kPageBytes - 1);
            uint32_t run = kPageBytes - inPage;
            if (run > count - done)
                run = count - done;
            uint8_t* p = reinterpret_cast<uint8_t*>(pages_[at / kPageBytes]) + inPage;
            if (!f(done, p, run))
                throw XBase();
            done += run;
        }
    }

    void CopyOut(uint32_t start, uint32_t count, void* buffer);
    void CopyIn(uint32_t start, uint32_t count, const void* buffer);
    // Each run goes to media.Write; a media failure becomes XBase.
    void WriteToMedia(uint32_t start, uint32_t count, CMedia& media);
    // Copies to another store through the first scratch buffer.
    void CopyToStore(uint32_t sourceStart, uint32_t count, BAT& destination, uint32_t destinationStart);
    // Swaps the bytes of every value (to and from big-endian for AIFF data).
    void SwapAllWords();

private:
    void FreePages();

    uint32_t guard1_ = kGuard1;
    uint32_t size_ = 0;
    std::array<int16_t*, kMaxPages> pages_{};
    uint32_t guard2_ = kGuard2;
    std::array<void*, kMaxSlabs> slabs_{};
};

} // namespace quorvel
