#pragma once
// The document window's transport commands: what each asks the player to
// play, which slice becomes current and where the play cursor goes. The
// window binds buttons and keys to these and refreshes its transport
// buttons afterwards (the button of the play mode is down while playing).
#include <cstdint>

namespace quorvel {

class CSoundDocument;
class CWavePlayer;
class CWavePlayerNotifier;
struct CSlice;

class CPlayCommands {
public:
    // Slices and ranges shorter than this are not auditioned.
    static constexpr int32_t kMinimumPlayLength = 256;

    // `notifier` (may be null) is told when this document's playback stops.
    CPlayCommands(CSoundDocument& document, CWavePlayer& player, CWavePlayerNotifier* notifier);

    // With sound disabled the commands still move the cursor and the current
    // slice, but nothing is played.
    void SetSoundEnabled(bool enabled) { soundEnabled_ = enabled; }

    bool IsPlaying() const;

    void PlayLoop();
    void PlayCurrentSlice();
    void PlayPreviousSlice();
    void PlaySliceAndMoveToNext();
    // A click: on a slice, or at a frame where no slice was hit.
    void PlayFromSlice(CSlice& slice);
    void PlayFromPosition(int32_t frame);
    void Stop();
    void JumpToLeftLocator();
    void JumpToRightLocator();

    // Where the views draw the play cursor.
    int32_t CursorPosition();

private:
    void PlaySlice(CSlice* slice);
    // The slice containing the cursor, else the first one; null when no
    // slice cuts the loop.
    CSlice* SliceUnderCursor();
    bool InsideLoop(int32_t frame) const;
    void PlayAll();

    CSoundDocument& document_;
    CWavePlayer& player_;
    CWavePlayerNotifier* notifier_;
    bool soundEnabled_ = true;
};

} // namespace quorvel
