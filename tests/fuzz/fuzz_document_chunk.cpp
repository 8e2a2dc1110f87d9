// Feeds arbitrary bytes to the document chunk decoder: it must either decode
// or throw one of our exceptions, never crash or read outside the payload.
#include <cstdint>
#include <vector>

#include "fileformats/DocumentAppChunk.h"
#include "framework/XBase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    // The first four bytes choose the sound length the slices must fit.
    const int32_t length = static_cast<int32_t>((data[0] << 16) | (data[1] << 8) | data[2]);
    std::vector<uint8_t> payload(data + 4, data + size); // exact size, so ASan sees overreads
    try {
        quorvel::DecodeDocumentAppChunk(payload.data(), static_cast<int32_t>(payload.size()), length);
    } catch (const quorvel::XBase&) {
    }
    return 0;
}
