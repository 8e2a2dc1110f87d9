#include "document/BAT.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>

#include <cstddef>
#include <cstdint>

#include "document/ScratchBuffers.h"

namespace quorvel {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;

size_t SlabBytes(uint32_t totalPages, uint32_t slab)
{
    const uint32_t first = slab * BAT::kPagesPerSlab;
    const uint32_t pages = std::min(BAT::kPagesPerSlab, totalPages - first);
    return size_t(pages) * BAT::kPageBytes;
}

// A whole 2 MB slab is mapped on a 2 MB boundary so that it can be backed by
// one huge page; anonymous memory comes zeroed from the kernel. Smaller slabs
// (short sounds, the slices of an export) come from the heap, which reuses
// freed memory instead of faulting in fresh pages every time.
void* AllocateSlab(size_t bytes)
{
    if (bytes < kHugePage)
        return std::calloc(1, bytes);
    const size_t span = bytes + kHugePage;
    void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto base = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t start = (base + kHugePage - 1) & ~(kHugePage - 1);
    if (const size_t head = start - base)
        ::munmap(raw, head);
    if (const size_t tail = span - (start - base) - bytes)
        ::munmap(reinterpret_cast<void*>(start + bytes), tail);
    ::madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(start);
}

} // namespace

BAT::BAT(uint32_t sizeInBytes)
{
    if (sizeInBytes > kMaxBytes)
        throw XOutOfMemory();
    size_ = sizeInBytes;
    const uint32_t pages = PageCount();
    for (uint32_t slab = 0; slab * kPagesPerSlab < pages; ++slab) {
        slabs_[slab] = AllocateSlab(SlabBytes(pages, slab));
        if (!slabs_[slab]) {
            FreePages();
            throw XOutOfMemory();
        }
        auto* bytes = static_cast<uint8_t*>(slabs_[slab]);
        const uint32_t first = slab * kPagesPerSlab;
        for (uint32_t i = first; i < pages && i < first + kPagesPerSlab; ++i)
            pages_[i] = reinterpret_cast<int16_t*>(bytes + size_t(i - first) * kPageBytes);
    }
}

BAT::~BAT() { FreePages(); }

void BAT::FreePages()
{
    const uint32_t pages = PageCount();
    for (uint32_t slab = 0; slab < kMaxSlabs; ++slab) {
        if (!slabs_[slab])
            continue;
        const size_t bytes = SlabBytes(pages, slab);
        if (bytes < kHugePage)
            std::free(slabs_[slab]);
        else
            ::munmap(slabs_[slab], bytes);
        slabs_[slab] = nullptr;
    }
    pages_.fill(nullptr);
}

uint8_t BAT::ReadByte(uint32_t offset) const
{
    uint8_t byte = 0;
    const_cast<BAT*>(this)->CopyOut(offset, 1, &byte);
    return byte;
}

void BAT::CopyOut(uint32_t start, uint32_t count, void* buffer)
{
    auto* out = static_cast<uint8_t*>(buffer);
    ForEachRun(start, count, [out](uint32_t done, uint8_t* run, uint32_t length) {
        std::memcpy(out + done, run, length);
        return true;
    });
}

void BAT::CopyIn(uint32_t start, uint32_t count, const void* buffer)
{
    const auto* in = static_cast<const uint8_t*>(buffer);
    ForEachRun(start, count, [in](uint32_t done, uint8_t* run, uint32_t length) {
        std::memcpy(run, in + done, length);
        return true;
    });
}

void BAT::WriteToMedia(uint32_t start, uint32_t count, CMedia& media)
{
    ForEachRun(start, count, [&media](uint32_t, uint8_t* run, uint32_t length) {
        try {
            media.Write(static_cast<int32_t>(length), run);
        } catch (const XBase&) {
            return false;
        }
        return true;
    });
}

void BAT::CopyToStore(uint32_t sourceStart, uint32_t count, BAT& destination, uint32_t destinationStart)
{
    uint8_t* buffer = scratch::Buffer1();
    uint32_t done = 0;
    while (done < count) {
        const uint32_t piece = count - done < scratch::kBytes ? count - done : scratch::kBytes;
        CopyOut(sourceStart + done, piece, buffer);
        destination.CopyIn(destinationStart + done, piece, buffer);
        done += piece;
    }
}

void BAT::SwapAllWords()
{
    const uint32_t pages = PageCount();
    for (uint32_t p = 0; p < pages; ++p) {
        int16_t* page = pages_[p];
        const uint32_t values = (p + 1 == pages && size_ % kPageBytes) ? (size_ % kPageBytes) / 2 : kPageValues;
        for (uint32_t i = 0; i < values; ++i) {
            const auto v = static_cast<uint16_t>(page[i]);
            page[i] = static_cast<int16_t>(static_cast<uint16_t>((v << 8) | (v >> 8)));
        }
    }
}

} // namespace quorvel
