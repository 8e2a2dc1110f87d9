#pragma once
// The slicing work a document file carries in its "APPL" chunk: settings and
// the slice list, big-endian, in a fixed 8164-byte record.
#include <array>
#include <cstdint>
#include <vector>

#include "document/DocumentSettings.h"

namespace quorvel {

// One slice of the record: state in bits 0-6 with the selected flag in
// bit 7, position, a zero byte, strength.
using SliceRecord = StoredSlice;

struct DocumentAppChunk {
    static constexpr uint32_t kMagic = 0xD1DADED0;
    static constexpr uint8_t kVersionMajor = 1;
    static constexpr uint8_t kVersionMinor = 0;
    static constexpr int32_t kPayloadBytes = 8164;
    static constexpr int kMaxSlices = 1000;

    StoredDocumentSettings settings; // bars 0 .. 65535 on disk
    std::vector<SliceRecord> slices;
};

std::array<uint8_t, DocumentAppChunk::kPayloadBytes> EncodeDocumentAppChunk(const DocumentAppChunk& chunk);

// Decodes `size` payload bytes. A wrong signature or magic, or a record that
// cannot describe a slice list of a sound of `soundLength` frames (too short
// for its slice count, over 1000 slices, unknown states, positions outside
// the sound or out of order), throws XBadFormat; a later format version
// throws XUnsupportedFormat.
DocumentAppChunk DecodeDocumentAppChunk(const uint8_t* payload, int32_t size, int32_t soundLength);

} // namespace quorvel
