#pragma once
// Plain records that carry document settings in and out: the preferences'
// defaults for new documents, and what a stored document holds.
#include <cstdint>

namespace quorvel {

// The five settings a new document takes from the preferences, and that the
// window writes back so the next document starts with the values last used.
struct DefaultDocumentOptions {
    bool transmitNormalized = false;
    bool silenceSelected = false;
    bool separateSamples = true;
    bool pitchMode = false;
    int16_t stretchIndex = 0;
};

// The settings a stored document brings back, as its file reader decodes
// them. Values are taken as stored and made safe by the document.
struct StoredDocumentSettings {
    int32_t numerator = 4;
    int32_t denominator = 4;
    int32_t bars = 0;
    int32_t beats = 0;
    int32_t newTempo = 120000;
    bool transmitNormalized = false;
    bool separateSamples = true;
    bool silenceSelected = false;
    bool pitchMode = false;
    int32_t stretchIndex = 0;
    int32_t sensitivity = 0;
};

// One stored slice, in list order.
struct StoredSlice {
    int32_t state = 0; // SliceState value
    bool selected = false;
    int32_t position = 0;
    int16_t strength = 0;
};

} // namespace quorvel
