#include "analysis/SliceSet.h"

#include <algorithm>
#include <climits>

#include "analysis/Normalize.h"
#include "analysis/Resample.h"
#include "analysis/StretchFill.h"
#include "document/SoundDocument.h"
#include "document/StretchAmount.h"

namespace quorvel {

namespace {

int32_t Saturate(int64_t frames) { return static_cast<int32_t>(std::clamp<int64_t>(frames, 0, INT32_MAX)); }

} // namespace

CSliceSet::CSliceSet(const WAVE_SAMPLE& sound, const CSliceList& slices, int32_t start, int32_t end,
                     int32_t stretchFactor, bool normalize, bool silenceSelected, bool separate)
    : sound_(&sound),
      // Locators outside the sound would make every reader run off its store.
      start_(std::clamp(start, 0, sound.Length())),
      end_(std::clamp(end, start_, sound.Length())),
      stretchFactor_(stretchFactor),
      normalize_(normalize),
      silenceSelected_(silenceSelected),
      separate_(separate),
      outputRate_(std::max(sound.SampleRate(), 1))
{
    constexpr SliceFilter kActive = SliceFilter::Active;
    for (const CSlice* slice = slices.First(kActive); slice; slice = slices.Next(slice, kActive)) {
        if (slice->position < start_ || slice->position >= end_)
            continue;
        if (ranges_.empty() && slice->position > start_)
            ranges_.push_back({start_, 0, false});
        if (!ranges_.empty())
            ranges_.back().end = slice->position;
        ranges_.push_back({slice->position, 0, silenceSelected_ && slice->selected});
        if (ranges_.size() >= kMaxRanges)
            break;
    }
    if (ranges_.empty())
        ranges_.push_back({start_, 0, false});
    ranges_.back().end = end_;
}

void CSliceSet::SetExtraFrames(int32_t frames) { extraFrames_ = std::max(frames, 0); }

void CSliceSet::SetOutputRate(int32_t rate) { outputRate_ = std::max(rate, 1); }

int CSliceSet::OutputCount() const
{
    if (!separate_)
        return 1;
    return static_cast<int>(
        std::count_if(ranges_.begin(), ranges_.end(), [](const SliceRange& r) { return !r.silenced; }));
}

int32_t CSliceSet::StretchedLength(int range) const
{
    const SliceRange& r = Range(range);
    const int32_t length = r.end - r.start;
    const double stretched = double(length) * stretchFactor_ / 1000.0;
    return std::max(length, Saturate(static_cast<int64_t>(stretched)));
}

int32_t CSliceSet::OutputLength(int range, int32_t extra) const
{
    const int64_t soundRate = std::max(sound_->SampleRate(), 1);
    const int64_t product = (int64_t(StretchedLength(range)) + extra) * outputRate_;
    int64_t frames = product / soundRate;
    if (frames * soundRate < product)
        ++frames;
    return Saturate(frames);
}

int32_t CSliceSet::TotalLength() const
{
    int64_t total = 0;
    for (int i = 0; i < RangeCount(); ++i) {
        if (separate_ && Range(i).silenced)
            continue;
        total += OutputLength(i, separate_ ? extraFrames_ : 0);
    }
    if (!separate_)
        total += extraFrames_;
    return Saturate(total);
}

int CSliceSet::RangeOfOutput(int k) const
{
    int seen = 0;
    for (int i = 0; i < RangeCount(); ++i) {
        if (Range(i).silenced)
            continue;
        if (seen++ == k)
            return i;
    }
    throw XNoSuchOutput();
}

std::unique_ptr<WAVE_SAMPLE> CSliceSet::GetOutput(int k) const
{
    if (!separate_)
        return Assemble();
    return BuildSlice(RangeOfOutput(k), extraFrames_);
}

SliceOutputInfo CSliceSet::GetOutputInfo(int k) const
{
    if (!separate_)
        return {start_, end_, TotalLength(), false};
    const int i = RangeOfOutput(k);
    return {Range(i).start, Range(i).end, OutputLength(i, extraFrames_), Range(i).silenced};
}

std::unique_ptr<WAVE_SAMPLE> CSliceSet::BuildSlice(int range, int32_t extra) const
{
    const SliceRange& r = Range(range);
    const int32_t length = r.end - r.start;
    const int32_t stretched = StretchedLength(range);
    const int32_t soundRate = std::max(sound_->SampleRate(), 1);

    auto output = std::make_unique<WAVE_SAMPLE>(sound_->Name(), outputRate_, OutputLength(range, extra));
    if (stretched == length && soundRate == outputRate_) {
        // Nothing to lengthen or convert: straight from the document's pages.
        StretchFill(sound_->Store(), r.start, length, length, output->Store());
    } else {
        WAVE_SAMPLE stretchedPiece("Temporary", soundRate, stretched);
        StretchFill(sound_->Store(), r.start, length, stretched, stretchedPiece.Store());
        Resample(stretchedPiece.Store(), soundRate, stretched, output->Store(), outputRate_);
    }
    if (normalize_)
        Normalize(*output);
    return output;
}

std::unique_ptr<WAVE_SAMPLE> CSliceSet::Assemble() const
{
    auto output = std::make_unique<WAVE_SAMPLE>(sound_->Name(), outputRate_, TotalLength());
    uint32_t offset = 0;
    for (int i = 0; i < RangeCount(); ++i) {
        if (Range(i).silenced) {
            offset += static_cast<uint32_t>(OutputLength(i, 0));
            continue;
        }
        const std::unique_ptr<WAVE_SAMPLE> slice = BuildSlice(i, 0);
        const auto frames = static_cast<uint32_t>(slice->Length());
        slice->Store().CopyToStore(0, frames * 2, output->Store(), offset * 2);
        offset += frames;
    }
    return output;
}

CExportJob MakeExportJob(const CSoundDocument& document)
{
    const WAVE_SAMPLE* sound = document.Sound();
    if (!sound)
        throw XNothingToExport();
    return CExportJob(*sound, document.Slices(), sound->LoopStart(), sound->LoopEnd(),
                      StretchFactor(document.StretchIndex()), document.TransmitNormalized(),
                      document.SilenceSelected(), document.SeparateSamples(), document.OutputTempo());
}

} // namespace quorvel
