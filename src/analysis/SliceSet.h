#pragma once
// The one builder of audio output for exports and transmissions. It cuts the
// loop between the locators at the Active slices, lengthens each piece by the
// stretch factor, converts it to the output rate and optionally normalises
// it; the pieces come out one at a time as separate samples, or assembled
// into one sample. The document's sound is only ever read.
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/OutputTempoSettings.h"
#include "document/SliceList.h"
#include "document/WaveSample.h"
#include "framework/XBase.h"

namespace quorvel {

class CSoundDocument;

// GetOutput or GetOutputInfo asked for an output the set does not have.
QUORVEL_EXCEPTION(XNoSuchOutput, XBase);
// An export job was asked of a document without a sound.
QUORVEL_EXCEPTION(XNothingToExport, XBase);

// One piece of the loop: [start, end) in frames of the document's sound.
struct SliceRange {
    int32_t start = 0;
    int32_t end = 0;
    bool silenced = false;
};

// Where an output sample comes from and how long it is.
struct SliceOutputInfo {
    int32_t start = 0;    // first frame in the document's sound
    int32_t end = 0;      // exclusive
    int32_t length = 0;   // frames of the output sample
    bool silenced = false;
};

class CSliceSet {
public:
    // 1000 slices, the piece before the first one, and headroom.
    static constexpr int kMaxRanges = 1003;

    // Builds the ranges from the Active slices with start <= position < end.
    // The sound and the slice list are not owned and must outlive the set.
    // The output rate starts at the sound's rate (no conversion) and the
    // extra frames at 0; callers set both before asking for outputs.
    CSliceSet(const WAVE_SAMPLE& sound, const CSliceList& slices, int32_t start, int32_t end,
              int32_t stretchFactor, bool normalize, bool silenceSelected, bool separate);

    // Silence appended to each output (separate) or once to the end (one sample).
    void SetExtraFrames(int32_t frames);
    // Rates below 1 are taken as 1.
    void SetOutputRate(int32_t rate);

    int32_t ExtraFrames() const { return extraFrames_; }
    int32_t OutputRate() const { return outputRate_; }
    int32_t Start() const { return start_; }
    int32_t End() const { return end_; }
    int32_t StretchFactor() const { return stretchFactor_; }
    bool Normalizes() const { return normalize_; }
    bool Separate() const { return separate_; }
    bool SilencesSelected() const { return silenceSelected_; }
    const WAVE_SAMPLE& Sound() const { return *sound_; }

    int RangeCount() const { return static_cast<int>(ranges_.size()); }
    const SliceRange& Range(int i) const { return ranges_.at(static_cast<size_t>(i)); }

    // 1 for one sample; otherwise the number of ranges not silenced.
    int OutputCount() const;
    // max(L, trunc(L x factor / 1000)) for the range's length L.
    int32_t StretchedLength(int range) const;
    // ceil((StretchedLength + extra) x output rate / sound rate). Lengths that
    // do not fit 32 bits are held at INT32_MAX (no store can hold them anyway).
    int32_t OutputLength(int range, int32_t extra) const;
    // Frames of all outputs together (separate skips silenced ranges).
    int32_t TotalLength() const;

    // Output k as a new sample owned by the caller: in separate mode the k-th
    // non-silenced range with the extra frames appended, else the whole
    // assembled loop (k is ignored). XOutOfMemory when it does not fit.
    std::unique_ptr<WAVE_SAMPLE> GetOutput(int k) const;
    SliceOutputInfo GetOutputInfo(int k) const;

private:
    int RangeOfOutput(int k) const;
    std::unique_ptr<WAVE_SAMPLE> BuildSlice(int range, int32_t extra) const;
    std::unique_ptr<WAVE_SAMPLE> Assemble() const;

    const WAVE_SAMPLE* sound_;
    int32_t start_;
    int32_t end_;
    int32_t stretchFactor_;
    bool normalize_;
    bool silenceSelected_;
    bool separate_;
    int32_t extraFrames_ = 0;
    int32_t outputRate_;
    std::vector<SliceRange> ranges_;
};

// Everything an export or transmission works from: the slice set built from
// the document's current state and the metre, length, pitch offset and tempo
// the receiver gets. Holds pointers into the document, which must outlive it.
class CExportJob : public CSliceSet {
public:
    CExportJob(const WAVE_SAMPLE& sound, const CSliceList& slices, int32_t start, int32_t end,
               int32_t stretchFactor, bool normalize, bool silenceSelected, bool separate,
               const OutputTempoSettings& tempo)
        : CSliceSet(sound, slices, start, end, stretchFactor, normalize, silenceSelected, separate), tempo_(tempo)
    {
    }

    const OutputTempoSettings& TempoSettings() const { return tempo_; }
    int32_t Numerator() const { return tempo_.numerator; }
    int32_t Denominator() const { return tempo_.denominator; }
    int32_t LoopTicks() const { return tempo_.ticks; }
    bool PitchMode() const { return tempo_.pitchMode; }
    int16_t PitchCents() const { return tempo_.pitchCents; }
    // Milli-BPM: the calculated tempo, or the new tempo in pitch mode.
    int32_t Tempo() const { return tempo_.tempo; }

private:
    OutputTempoSettings tempo_;
};

// The export job of the document's current locators, slices and options.
// XNothingToExport for a document without a sound.
CExportJob MakeExportJob(const CSoundDocument& document);

} // namespace quorvel
