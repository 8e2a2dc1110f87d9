#pragma once
// Documents built from known slices, as a stored document would hold them.
#include <memory>
#include <vector>

#include "document/SoundDocument.h"

namespace quorvel::test {

// A sound of `frames` varied values.
inline std::unique_ptr<WAVE_SAMPLE> VariedSound(int32_t frames, int32_t rate = 44100)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("Loop.aif", rate, frames);
    for (int32_t i = 0; i < frames; ++i)
        sound->Store().WriteSample(uint32_t(i), int16_t((int64_t(i) * 7919 + 13) % 20011 - 10005));
    return sound;
}

inline StoredSlice NormalSlice(int32_t position, int16_t strength = 20000)
{
    return {static_cast<int32_t>(SliceState::Normal), false, position, strength};
}

// A stored document at full sensitivity: every slice of strength above a
// few hundred cuts the loop.
inline std::unique_ptr<CSoundDocument> DocumentWithSlices(int32_t frames, const std::vector<StoredSlice>& slices,
                                                          int32_t sensitivity = 990)
{
    StoredDocumentSettings settings;
    settings.sensitivity = sensitivity;
    return std::make_unique<CSoundDocument>(VariedSound(frames), settings, slices);
}

// `count` Normal slices, evenly spaced from frame 0.
inline std::unique_ptr<CSoundDocument> EvenlySlicedDocument(int count, int32_t spacing = 1000)
{
    std::vector<StoredSlice> slices;
    for (int i = 0; i < count; ++i)
        slices.push_back(NormalSlice(i * spacing));
    return DocumentWithSlices(count * spacing, slices);
}

} // namespace quorvel::test
