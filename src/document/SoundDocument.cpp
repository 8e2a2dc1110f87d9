#include "document/SoundDocument.h"

#include <algorithm>

#include "analysis/SensitivityThreshold.h"
#include "analysis/Tempo.h"
#include "document/SampleRateText.h"
#include "document/StretchAmount.h"

namespace quorvel {

namespace {

int32_t SensitivityStep(int32_t value) { return std::clamp(value, 0, 999) / 10 * 10; }

} // namespace

CSoundDocument::CSoundDocument(std::unique_ptr<WAVE_SAMPLE> sound, const DefaultDocumentOptions& defaults,
                               bool barsToOne)
    : sound_(std::move(sound))
{
    transmitNormalized_ = defaults.transmitNormalized;
    silenceSelected_ = defaults.silenceSelected;
    separateSamples_ = defaults.separateSamples;
    pitchMode_ = defaults.pitchMode;
    stretchIndex_ = static_cast<int16_t>(std::clamp<int32_t>(defaults.stretchIndex, 0, kStretchSteps - 1));
    bars_ = barsToOne ? 1 : 0;
    if (sound_)
        slices_.Analyse(*sound_);
    FinishConstruction();
}

CSoundDocument::CSoundDocument(std::unique_ptr<WAVE_SAMPLE> sound, const StoredDocumentSettings& settings,
                               const std::vector<StoredSlice>& slices)
    : sound_(std::move(sound))
{
    // A damaged or foreign file must not put the document outside the ranges
    // the views, tables and exports index with.
    timeSignature_ = quorvel::TimeSignatureIndex(settings.numerator, settings.denominator);
    bars_ = std::clamp(settings.bars, 0, kMaxBars);
    beats_ = std::clamp(settings.beats, 0, kMaxBeats);
    newTempo_ = std::clamp(settings.newTempo, 1, kMaxTempo);
    transmitNormalized_ = settings.transmitNormalized;
    separateSamples_ = settings.separateSamples;
    silenceSelected_ = settings.silenceSelected;
    pitchMode_ = settings.pitchMode;
    stretchIndex_ = static_cast<int16_t>(std::clamp(settings.stretchIndex, 0, kStretchSteps - 1));
    sensitivity_ = std::min(SensitivityStep(settings.sensitivity), kMaxSensitivity);
    LoadStoredSlices(slices);
    FinishConstruction();
}

void CSoundDocument::LoadStoredSlices(const std::vector<StoredSlice>& stored)
{
    const int32_t length = sound_ ? sound_->Length() : 0;
    std::vector<CSlice> kept;
    kept.reserve(std::min<size_t>(stored.size(), CSliceList::kCapacity));
    for (const StoredSlice& s : stored) {
        // A slice outside the sound would make playback and export read
        // outside the store.
        if (s.position < 0 || s.position >= length)
            continue;
        CSlice slice;
        slice.position = s.position;
        slice.strength = s.strength;
        slice.selected = s.selected;
        slice.state = (s.state == int32_t(SliceState::Hidden) || s.state == int32_t(SliceState::Locked))
                          ? SliceState(s.state)
                          : SliceState::Normal;
        kept.push_back(slice);
    }
    // Every walk relies on position order; a well-formed file already has it.
    std::stable_sort(kept.begin(), kept.end(),
                     [](const CSlice& a, const CSlice& b) { return a.position < b.position; });
    slices_.Reset();
    for (const CSlice& slice : kept)
        if (!slices_.Append(slice))
            break;
    slices_.SetEndPosition(length);
}

void CSoundDocument::FinishConstruction()
{
    slices_.ApplyThreshold(SensitivityThreshold(sensitivity_));
    slices_.ClearChanged();
    tempo_ = ComputeCurrentTempo();
    currentPosition_ = sound_ ? sound_->LoopStart() : 0;
}

int32_t CSoundDocument::LoopLengthInTicks() const
{
    return quorvel::LoopLengthInTicks(bars_, beats_, kTimeSignatures[static_cast<size_t>(timeSignature_)]);
}

int32_t CSoundDocument::ComputeCurrentTempo() const
{
    if (!sound_)
        return 0;
    return ComputeTempo(sound_->SampleRate(), LoopLengthInTicks(), sound_->LoopStart(), sound_->LoopEnd());
}

bool CSoundDocument::SetSensitivity(int32_t sliderValue)
{
    if (!Change(sensitivity_, SensitivityStep(sliderValue)))
        return false;
    slices_.ApplyThreshold(SensitivityThreshold(sensitivity_));
    return true;
}


bool CSoundDocument::SetBars(int32_t bars) { return Change(bars_, std::clamp(bars, 0, kMaxBars)); }
bool CSoundDocument::SetBeats(int32_t beats) { return Change(beats_, std::clamp(beats, 0, kMaxBeats)); }
bool CSoundDocument::SetTimeSignatureIndex(int index)
{
    return Change(timeSignature_, std::clamp(index, 0, kTimeSignatureCount - 1));
}
bool CSoundDocument::SetTimeSignature(int32_t numerator, int32_t denominator)
{
    return SetTimeSignatureIndex(quorvel::TimeSignatureIndex(numerator, denominator));
}
bool CSoundDocument::SetNewTempo(int32_t newTempo) { return Change(newTempo_, std::clamp(newTempo, 1, kMaxTempo)); }
bool CSoundDocument::SetStretchIndex(int32_t index)
{
    return Change(stretchIndex_, static_cast<int16_t>(std::clamp(index, 0, kStretchSteps - 1)));
}
bool CSoundDocument::SetTransmitNormalized(bool on) { return Change(transmitNormalized_, on); }
bool CSoundDocument::SetSilenceSelected(bool on) { return Change(silenceSelected_, on); }
bool CSoundDocument::SetPitchMode(bool on) { return Change(pitchMode_, on); }
bool CSoundDocument::SetSeparateSamples(bool on) { return Change(separateSamples_, on); }

bool CSoundDocument::SetLocators(int32_t loopStart, int32_t loopEnd)
{
    if (!sound_)
        return false;
    const int32_t oldStart = sound_->LoopStart();
    const int32_t oldEnd = sound_->LoopEnd();
    sound_->SetLoop(loopStart, loopEnd, sound_->LoopOn());
    if (sound_->LoopStart() == oldStart && sound_->LoopEnd() == oldEnd)
        return false;
    SetModified();
    return true;
}

bool CSoundDocument::RefreshTempo()
{
    return Change(tempo_, ComputeCurrentTempo());
}

OutputTempoSettings CSoundDocument::OutputTempo() const
{
    return MakeOutputTempoSettings(Numerator(), Denominator(), LoopLengthInTicks(), pitchMode_, tempo_, newTempo_);
}

bool CSoundDocument::EnsureLength(CLengthPrompt& prompt)
{
    if (bars_ != 0 || beats_ != 0)
        return true;
    const std::optional<int> bars = prompt.AskBars();
    if (!bars || *bars < 1)
        return false;
    SetBars(std::min(*bars, kMaxBars));
    return true;
}

void CSoundDocument::MarkSaved(const std::string& documentFile)
{
    documentFile_ = documentFile;
    modified_ = false;
}

std::string CSoundDocument::WindowTitle() const
{
    if (!sound_)
        return EmptyWindowTitle();
    std::string title = std::string(sound_->Name()) + " (" + SampleRateText(sound_->SampleRate()) + ")";
    if (modified_ || !documentFile_)
        title += " *";
    return title;
}

void CSoundDocument::WriteDefaults(DefaultDocumentOptions& defaults) const
{
    defaults.transmitNormalized = transmitNormalized_;
    defaults.silenceSelected = silenceSelected_;
    defaults.separateSamples = separateSamples_;
    defaults.pitchMode = pitchMode_;
    defaults.stretchIndex = stretchIndex_;
}

} // namespace quorvel
