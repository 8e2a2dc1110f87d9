#include "document/BAT.h"

#include <new>

#include "document/ScratchBuffers.h"

namespace quorvel {

BAT::BAT(uint32_t sizeInBytes)
{
    if (sizeInBytes > kMaxBytes)
        throw XOutOfMemory();
    size_ = sizeInBytes;
    const uint32_t pages = PageCount();
    for (uint32_t i = 0; i < pages; ++i) {
        pages_[i] = new (std::nothrow) int16_t[kPageValues]();
        if (!pages_[i]) {
            FreePages();
            throw XOutOfMemory();
        }
    }
}

BAT::~BAT() { FreePages(); }

void BAT::FreePages()
{
    for (auto& page : pages_) {
        delete[] page;
        page = nullptr;
    }
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
