#include "playback/PlayCommands.h"

#include "document/SoundDocument.h"
#include "playback/WavePlayer.h"

namespace quorvel {

CPlayCommands::CPlayCommands(CSoundDocument& document, CWavePlayer& player, CWavePlayerNotifier* notifier)
    : document_(document), player_(player), notifier_(notifier)
{
}

bool CPlayCommands::IsPlaying() const
{
    return player_.IsPlaying(document_.Sound());
}

bool CPlayCommands::InsideLoop(int32_t frame) const
{
    const WAVE_SAMPLE& sound = *document_.Sound();
    return sound.LoopStart() <= frame && frame < sound.LoopEnd();
}

void CPlayCommands::PlayAll()
{
    if (soundEnabled_)
        player_.PlayAll(*document_.Sound(), notifier_);
}

void CPlayCommands::PlaySlice(CSlice* slice)
{
    WAVE_SAMPLE& sound = *document_.Sound();
    if (slice) {
        document_.SetCurrentSlice(slice);
        document_.SetCurrentPosition(slice->position);
        const int32_t length = document_.Slices().SliceLength(slice, SliceFilter::Active);
        if (soundEnabled_ && length >= kMinimumPlayLength)
            player_.PlayRange(sound, slice->position, slice->position + length, notifier_);
        return;
    }
    const int32_t from = document_.CurrentPosition();
    if (soundEnabled_ && sound.Length() - from >= kMinimumPlayLength)
        player_.PlayRange(sound, from, sound.Length(), notifier_);
}

CSlice* CPlayCommands::SliceUnderCursor()
{
    CSliceList& slices = document_.Slices();
    CSlice* slice = slices.SliceAt(document_.CurrentPosition());
    return slice ? slice : slices.First(SliceFilter::Active);
}

void CPlayCommands::PlayLoop()
{
    if (!document_.Sound() || IsPlaying())
        return;
    WAVE_SAMPLE& sound = *document_.Sound();
    if (document_.CurrentPosition() >= sound.LoopEnd())
        document_.SetCurrentPosition(sound.LoopStart());
    if (soundEnabled_)
        player_.PlayLoop(sound, document_.CurrentPosition(), notifier_);
    document_.SetPlayMode(PlayMode::Loop);
}

void CPlayCommands::PlayCurrentSlice()
{
    if (!document_.Sound())
        return;
    document_.SetPlayMode(PlayMode::CurrentSlice);
    CSlice* slice = SliceUnderCursor();
    if (!slice) {
        PlayAll();
        return;
    }
    PlaySlice(slice);
}

void CPlayCommands::PlaySliceAndMoveToNext()
{
    if (!document_.Sound())
        return;
    document_.SetPlayMode(PlayMode::NextSlice);
    CSlice* slice = SliceUnderCursor();
    if (!slice) {
        PlayAll();
        return;
    }
    const bool wasInside = InsideLoop(slice->position);
    PlaySlice(slice);

    CSliceList& slices = document_.Slices();
    CSlice* next = slices.Next(slice, SliceFilter::Active);
    if (!next)
        next = slices.First(SliceFilter::Active);
    document_.SetCurrentSlice(next);
    document_.SetCurrentPosition(next->position);
    if (wasInside && !InsideLoop(next->position)) {
        document_.SetCurrentSlice(nullptr);
        document_.SetCurrentPosition(document_.Sound()->LoopStart());
    }
}

void CPlayCommands::PlayPreviousSlice()
{
    if (!document_.Sound())
        return;
    document_.SetPlayMode(PlayMode::PreviousSlice);
    CSlice* slice = SliceUnderCursor();
    if (!slice) {
        PlayAll();
        return;
    }
    document_.SetCurrentPosition(slice->position);
    const bool wasInside = InsideLoop(slice->position);

    // Slices may share a position; step past all of them.
    CSliceList& slices = document_.Slices();
    CSlice* previous = slices.Previous(slice, SliceFilter::Active);
    while (previous && previous->position >= slice->position)
        previous = slices.Previous(previous, SliceFilter::Active);
    if (!previous)
        previous = slices.Last(SliceFilter::Active);
    if (wasInside && !InsideLoop(previous->position)) {
        if (CSlice* atLoopEnd = slices.SliceAt(document_.Sound()->LoopEnd() - 1))
            previous = atLoopEnd;
    }
    PlaySlice(previous);
}

void CPlayCommands::PlayFromSlice(CSlice& slice)
{
    if (!document_.Sound())
        return;
    document_.SetPlayMode(PlayMode::CurrentSlice);
    PlaySlice(&slice);
}

void CPlayCommands::PlayFromPosition(int32_t frame)
{
    if (!document_.Sound())
        return;
    document_.SetPlayMode(PlayMode::CurrentSlice);
    const int32_t left = document_.Sound()->LoopStart();
    document_.SetCurrentSlice(nullptr);
    document_.SetCurrentPosition(frame < left ? 0 : left);
    PlaySlice(nullptr);
}

void CPlayCommands::Stop()
{
    if (!document_.Sound())
        return;
    const int32_t left = document_.Sound()->LoopStart();
    if (!IsPlaying()) {
        document_.SetCurrentPosition(document_.CurrentPosition() > left ? left : 0);
        return;
    }
    const int32_t heard = player_.HeardPosition();
    player_.Stop();
    CSlice* slice = document_.Slices().SliceAt(heard);
    document_.SetCurrentSlice(slice);
    if (slice) {
        document_.SetCurrentPosition(slice->position);
        if (slice->position >= left)
            return;
    }
    if (heard >= left)
        document_.SetCurrentPosition(left);
}

void CPlayCommands::JumpToLeftLocator()
{
    if (!document_.Sound())
        return;
    document_.SetCurrentSlice(nullptr);
    document_.SetCurrentPosition(document_.Sound()->LoopStart());
}

void CPlayCommands::JumpToRightLocator()
{
    if (!document_.Sound())
        return;
    document_.SetCurrentSlice(nullptr);
    document_.SetCurrentPosition(document_.Sound()->LoopEnd());
}

int32_t CPlayCommands::CursorPosition()
{
    return IsPlaying() ? player_.HeardPosition() : document_.CurrentPosition();
}

} // namespace quorvel
