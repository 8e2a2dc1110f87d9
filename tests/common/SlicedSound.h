#pragma once
// A sound of known, varied values with Locked slices at chosen frames, for
// the tests of the output builder and the exports built on it.
#include <memory>
#include <vector>

#include "document/SliceList.h"
#include "document/WaveSample.h"

namespace quorvel::test {

inline std::vector<int16_t> ValuesOf(const WAVE_SAMPLE& sample, int32_t start = 0, int32_t end = -1)
{
    std::vector<int16_t> v;
    for (int32_t i = start; i < (end < 0 ? sample.Length() : end); ++i)
        v.push_back(sample.Value(i));
    return v;
}

struct SlicedSound {
    std::unique_ptr<WAVE_SAMPLE> sound;
    CSliceList slices;
};

inline std::unique_ptr<SlicedSound> MakeSlicedSound(int32_t frames, const std::vector<int32_t>& cuts,
                                                    const std::vector<bool>& selected = {}, int32_t rate = 44100)
{
    auto s = std::make_unique<SlicedSound>();
    s->sound = std::make_unique<WAVE_SAMPLE>("Loop", rate, frames);
    for (int32_t i = 0; i < frames; ++i) // a fixed scramble, never silent for long
        s->sound->Store().WriteSample(uint32_t(i), int16_t((int64_t(i) * 7919 + 13) % 20011 - 10005));
    for (size_t i = 0; i < cuts.size(); ++i)
        s->slices.Append({cuts[i], 1, false, i < selected.size() && selected[i], false, SliceState::Locked});
    return s;
}

} // namespace quorvel::test
