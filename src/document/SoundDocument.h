#pragma once
// The sound document: a sound with its slice list and the settings the
// document window edits. Every setter that changes something a saved
// document keeps marks the document modified.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/OutputTempoSettings.h"
#include "document/DocumentSettings.h"
#include "document/LengthPrompt.h"
#include "document/SliceList.h"
#include "document/TimeSignature.h"
#include "document/WaveSample.h"

namespace quorvel {

enum class DocumentTool : int32_t { Arrow = 0, Hide = 1, Lock = 2, Pen = 3 };
enum class PlayMode : int32_t { Loop = 0, CurrentSlice = 1, PreviousSlice = 2, NextSlice = 3 };

class CSoundDocument {
public:
    static constexpr int32_t kMaxSensitivity = 990;
    static constexpr int32_t kMaxBars = 666;
    static constexpr int32_t kMaxBeats = 7;
    static constexpr int32_t kDefaultNewTempo = 120000;

    // A freshly opened sound: analysed, with the preferences' defaults.
    CSoundDocument(std::unique_ptr<WAVE_SAMPLE> sound, const DefaultDocumentOptions& defaults, bool barsToOne);
    // A stored document: its slices and settings instead of an analysis.
    CSoundDocument(std::unique_ptr<WAVE_SAMPLE> sound, const StoredDocumentSettings& settings,
                   const std::vector<StoredSlice>& slices);
    CSoundDocument(const CSoundDocument&) = delete;
    CSoundDocument& operator=(const CSoundDocument&) = delete;

    // Null only for an empty window.
    WAVE_SAMPLE* Sound() { return sound_.get(); }
    const WAVE_SAMPLE* Sound() const { return sound_.get(); }
    CSliceList& Slices() { return slices_; }
    const CSliceList& Slices() const { return slices_; }

    int32_t Sensitivity() const { return sensitivity_; }
    int32_t Bars() const { return bars_; }
    int32_t Beats() const { return beats_; }
    int TimeSignatureIndex() const { return timeSignature_; }
    int32_t Numerator() const { return kTimeSignatures[static_cast<size_t>(timeSignature_)].numerator; }
    int32_t Denominator() const { return kTimeSignatures[static_cast<size_t>(timeSignature_)].denominator; }
    int32_t LoopLengthInTicks() const;
    int32_t Tempo() const { return tempo_; }
    int32_t NewTempo() const { return newTempo_; }
    int16_t StretchIndex() const { return stretchIndex_; }
    bool TransmitNormalized() const { return transmitNormalized_; }
    bool SilenceSelected() const { return silenceSelected_; }
    bool PitchMode() const { return pitchMode_; }
    bool SeparateSamples() const { return separateSamples_; }

    // Each returns whether the value changed (and the document was marked
    // modified). Out-of-range values are held at the nearest valid one.
    // The sensitivity setter takes the slider's 0 .. 999, keeps it in steps
    // of 10 and re-applies the threshold to the slices.
    bool SetSensitivity(int32_t sliderValue);
    bool SetBars(int32_t bars);
    bool SetBeats(int32_t beats);
    bool SetTimeSignatureIndex(int index);
    bool SetTimeSignature(int32_t numerator, int32_t denominator); // other pairs select 2/4
    bool SetNewTempo(int32_t newTempo);
    bool SetStretchIndex(int32_t index);
    bool SetTransmitNormalized(bool on);
    bool SetSilenceSelected(bool on);
    bool SetPitchMode(bool on);
    bool SetSeparateSamples(bool on);
    // Moves the locators (normalised by the sound).
    bool SetLocators(int32_t loopStart, int32_t loopEnd);

    // Recomputes the tempo from the loop and its musical length; a new value
    // is stored and marks the document modified. Returns whether it changed.
    bool RefreshTempo();

    // Metre, length, pitch offset and tempo for an export or transmission.
    OutputTempoSettings OutputTempo() const;

    // Before an operation that needs a tempo: with no bars and no beats, asks
    // for the bars (held at 666). False when the user cancelled or gave less
    // than one bar: the operation must not start.
    bool EnsureLength(CLengthPrompt& prompt);

    DocumentTool Tool() const { return tool_; }
    void SetTool(DocumentTool tool) { tool_ = tool; }
    PlayMode GetPlayMode() const { return playMode_; }
    void SetPlayMode(PlayMode mode) { playMode_ = mode; }
    CSlice* CurrentSlice() const { return currentSlice_; }
    void SetCurrentSlice(CSlice* slice) { currentSlice_ = slice; }
    int32_t CurrentPosition() const { return currentPosition_; }
    void SetCurrentPosition(int32_t frame) { currentPosition_ = frame; }

    bool Modified() const { return modified_; }
    void SetModified() { modified_ = true; }
    // After a successful save to `documentFile`.
    void MarkSaved(const std::string& documentFile);

    // Where the sound was read from and where the document was saved to.
    const std::optional<std::string>& SourceFile() const { return sourceFile_; }
    void SetSourceFile(std::optional<std::string> file) { sourceFile_ = std::move(file); }
    const std::optional<std::string>& DocumentFile() const { return documentFile_; }
    void SetDocumentFile(std::optional<std::string> file) { documentFile_ = std::move(file); }

    // "name (44.1kHz)", with " *" while there are unsaved changes or the
    // document was never saved.
    std::string WindowTitle() const;
    static std::string EmptyWindowTitle() { return "Empty Quorvel! Document"; }

    // Copies the five default-document settings into `defaults`.
    void WriteDefaults(DefaultDocumentOptions& defaults) const;

private:
    template <class T>
    bool Change(T& field, T value)
    {
        if (field == value)
            return false;
        field = value;
        SetModified();
        return true;
    }
    void LoadStoredSlices(const std::vector<StoredSlice>& stored);
    void FinishConstruction();
    int32_t ComputeCurrentTempo() const;

    std::unique_ptr<WAVE_SAMPLE> sound_;
    CSliceList slices_;
    int32_t sensitivity_ = 0;
    int32_t bars_ = 0;
    int32_t beats_ = 0;
    int timeSignature_ = kDefaultTimeSignature;
    int32_t tempo_ = 0;
    int32_t newTempo_ = kDefaultNewTempo;
    int16_t stretchIndex_ = 0;
    bool transmitNormalized_ = false;
    bool silenceSelected_ = false;
    bool pitchMode_ = false;
    bool separateSamples_ = true;
    DocumentTool tool_ = DocumentTool::Arrow;
    PlayMode playMode_ = PlayMode::Loop;
    CSlice* currentSlice_ = nullptr;
    int32_t currentPosition_ = 0;
    bool modified_ = false;
    std::optional<std::string> sourceFile_;
    std::optional<std::string> documentFile_;
};

} // namespace quorvel
