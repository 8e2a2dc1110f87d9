#include "app/cli/DocumentOptions.h"

#include <algorithm>

#include <CLI/CLI.hpp>

#include "analysis/Tempo.h"
#include "analysis/TempoText.h"
#include "app/CommandLineChecks.h"
#include "app/cli/CliError.h"
#include "document/SliceTools.h"
#include "document/TimeSignature.h"

namespace quorvel::cli {

namespace {

constexpr int32_t kMinLocatorDistance = 256;
const std::vector<std::string> kSigns{"2/4", "3/4", "4/4", "5/4", "6/8", "7/8"};

CSlice& NamedSlice(CSoundDocument& document, int32_t position)
{
    if (CSlice* slice = SliceStartingAt(document.Slices(), position))
        return *slice;
    throw CliError(kUsage, "no slice starts at frame " + std::to_string(position));
}

void SetState(CSoundDocument& document, const std::vector<int32_t>& positions, SliceState state)
{
    for (const int32_t position : positions)
        if (SetSliceState(NamedSlice(document, position), state))
            document.SetModified();
}

// The Pen tool, refused for the reasons the window's Pen refuses.
void AddSlices(CSoundDocument& document, const std::vector<int32_t>& positions)
{
    for (const int32_t position : positions) {
        const std::string frame = "frame " + std::to_string(position);
        switch (PenRefusalAt(document, position)) {
        case PenRefusal::OutsideSound:
            throw CliError(kUsage, frame + " is outside the sound");
        case PenRefusal::SliceThere:
            throw CliError(kUsage, "a slice already starts at " + frame);
        case PenRefusal::ListFull:
            throw CliError(kUsage, "the slice list is full (1000 slices)");
        case PenRefusal::None:
            InsertPenSlice(document, position);
            break;
        }
    }
}

// The window keeps the locators inside the sound and at least 256 frames
// apart; the right one may stay at the end of the sound, where it starts.
void CheckLocators(int32_t left, int32_t right, int32_t length)
{
    const std::string locators = "--left " + std::to_string(left) + " --right " + std::to_string(right);
    if (right > length)
        throw CliError(kUsage, "--right " + std::to_string(right) + " is past the end of the sound (" +
                                   std::to_string(length) + " frames)");
    if (static_cast<int64_t>(left) + kMinLocatorDistance > right)
        throw CliError(kUsage, locators + ": the left locator must lie at least " +
                                   std::to_string(kMinLocatorDistance) + " frames before the right one");
}

// Decimal text as the New Tempo field reads it, in thousandths of a BPM
// (further digits cut off), before the field's clamping; saturates far
// above the range.
int64_t Thousandths(const std::string& text)
{
    int64_t whole = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] != '.'; ++i)
        whole = std::min<int64_t>(whole * 10 + (text[i] - '0'), 1000000000);
    int64_t milli = 0;
    int place = 100;
    for (size_t j = i + 1; j < text.size() && place > 0; ++j, place /= 10)
        milli += (text[j] - '0') * place;
    return whole * 1000 + milli;
}

bool InTempoRange(const std::string& text)
{
    const int64_t tempo = Thousandths(text);
    return tempo >= 1 && tempo <= kMaxTempo;
}

} // namespace

ChannelMode DocumentOptions::Channel() const
{
    return channel == "left" ? ChannelMode::Left : channel == "right" ? ChannelMode::Right : ChannelMode::Mix;
}

void AddDocumentOptions(CLI::App& command, DocumentOptions& o)
{
    command.add_option("--channel", o.channel, "how a stereo file becomes mono (default mix)")
        ->check(CLI::IsMember({"left", "right", "mix"}));
    command.add_option("--sensitivity", o.sensitivity, "sensitivity fader, 0 to 99")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 99));
    command.add_option("--add", o.add, "draw locked slices at these frames")->delimiter(',')->check(WholeNumber());
    command.add_option("--hide", o.hide, "hide the slices starting at these frames")
        ->delimiter(',')
        ->check(WholeNumber());
    command.add_option("--lock", o.lock, "lock the slices starting at these frames")
        ->delimiter(',')
        ->check(WholeNumber());
    command.add_option("--select", o.select, "select the slices starting at these frames")
        ->delimiter(',')
        ->check(WholeNumber());
    command.add_flag("--left-to-first-slice", o.leftToFirstSlice, "move the left locator to the first slice");
    command.add_option("--left", o.left, "left locator (frame), at least 256 frames before the right one")
        ->check(WholeNumber());
    command.add_option("--right", o.right, "right locator (frame), at most the sound's length")
        ->check(WholeNumber());
    command.add_option("--bars", o.bars, "loop length: bars (0 to 666)")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 666));
    command.add_option("--beats", o.beats, "loop length: extra beats (0 to 7)")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 7));
    command.add_option("--sign", o.sign, "time signature")->check(CLI::IsMember(kSigns));
    command.add_option("--stretch", o.stretch, "stretch amount, 0 (off) to 13 (100%)")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 13));
    command.add_flag("--normalize", o.normalize, "normalize every output");
    command.add_flag("--one-sample", o.oneSample, "assemble the slices into one sample");
    command.add_flag("--silence-selected", o.silenceSelected, "silence the selected slices");
    command.add_flag("--pitch-mode", o.pitchMode, "tune the slices to fit the new tempo");
    command.add_option("--new-tempo", o.newTempo, "new tempo in BPM, 0.001 to 999.999, e.g. 95.5")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                if (!IsDecimalText(text))
                    return "\"" + text + "\" is not a tempo (digits 0 to 9 and at most one '.', e.g. 95.5)";
                // The field clamps what it reads; the tool refuses instead.
                if (!InTempoRange(text))
                    return "\"" + text + "\" is outside 0.001 to 999.999 BPM";
                return {};
            },
            "BPM", "NewTempo"));
}

void ApplyDocumentOptions(CSoundDocument& document, const DocumentOptions& o)
{
    if (o.sensitivity)
        document.SetSensitivity(*o.sensitivity * 10);
    AddSlices(document, o.add);
    SetState(document, o.hide, SliceState::Hidden);
    SetState(document, o.lock, SliceState::Locked);
    for (const int32_t position : o.select)
        SetSliceSelected(NamedSlice(document, position), true);
    if (o.leftToFirstSlice && document.Slices().Count() > 0)
        document.SetLocators(document.Slices().At(0).position, document.Sound()->LoopEnd());
    if (o.left || o.right) {
        const int32_t left = o.left.value_or(document.Sound()->LoopStart());
        const int32_t right = o.right.value_or(document.Sound()->LoopEnd());
        CheckLocators(left, right, document.Sound()->Length());
        document.SetLocators(left, right);
    }
    if (o.bars)
        document.SetBars(*o.bars);
    if (o.beats)
        document.SetBeats(*o.beats);
    if (o.sign) {
        const auto index = std::find(kSigns.begin(), kSigns.end(), *o.sign) - kSigns.begin();
        document.SetTimeSignatureIndex(static_cast<int>(index));
    }
    if (o.stretch)
        document.SetStretchIndex(*o.stretch);
    if (o.normalize)
        document.SetTransmitNormalized(true);
    if (o.oneSample)
        document.SetSeparateSamples(false);
    if (o.silenceSelected)
        document.SetSilenceSelected(true);
    if (o.pitchMode)
        document.SetPitchMode(true);
    if (o.newTempo)
        document.SetNewTempo(ParseNewTempo(*o.newTempo));
    document.RefreshTempo();
}

} // namespace quorvel::cli
