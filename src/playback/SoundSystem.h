#pragma once
// The application's side of sound output: the registry with its one open
// channel, the wave player that feeds it, whether sound is enabled at all,
// and the questions asked when a card cannot be (re)opened. Runs on the
// interface thread only; no toolkit dependency, the questions go through
// CSoundAlerts.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/AlertScript.h"
#include "playback/SoundCardRegistry.h"

namespace quorvel {

class CWavePlayer;

// Each method shows one alert of table 129 and returns the pressed button as
// the alert box reports it (AlertResultForSlot).
class CSoundAlerts {
public:
    // Alert 19's buttons, "[Disable sound][Try other][Retry]", slot 0 last.
    static constexpr int kRetry = AlertResultForSlot(0);
    static constexpr int kTryOther = AlertResultForSlot(1);
    static constexpr int kDisableSound = AlertResultForSlot(2);

    virtual ~CSoundAlerts() = default;
    // Alert 7: no card could be opened.
    virtual int NoSoundCardOpened() = 0;
    // Alert 12: the card remembered in the preferences did not open.
    virtual int StoredCardNotOpened(const std::string& cardName) = 0;
    // Alert 19: the released card cannot be taken back.
    virtual int SoundChannelTaken() = 0;
};

class CSoundSystem {
public:
    static constexpr uint16_t kNoCard = CSoundCardRegistry::kNotListed;

    // Neither is owned; both must outlive this object. The player renders
    // into every channel opened here.
    CSoundSystem(CWavePlayer& player, CSoundAlerts& alerts);
    ~CSoundSystem();
    CSoundSystem(const CSoundSystem&) = delete;
    CSoundSystem& operator=(const CSoundSystem&) = delete;

    // The machine's cards (see CSoundCards::RegisterCards); sound is enabled
    // when at least one usable card remains. Returns that.
    bool RegisterCards(const std::string& capturePath = {});
    // The same with the given cards instead of the machine's.
    bool RegisterCards(std::vector<std::unique_ptr<CRegisteredSoundCard>> cards);

    // True when that card's channel is open afterwards. With sound disabled
    // nothing opens.
    bool OpenCard(uint16_t index);
    // Opens the card and selects the latency setting; also what cancelling
    // the preferences dialog uses to go back to what it found on entry.
    bool OpenCard(uint16_t index, uint16_t latency);
    bool OpenAnyCard();
    // With sound enabled and no channel, opens any card; when none opens,
    // asks alert 7 and disables sound. Returns SoundEnabled().
    bool EnsureSound();
    // At start: opens the card the preferences name and selects its latency.
    // When it is not listed or fails, asks alert 12, then EnsureSound. An
    // empty record (no preferences yet) skips the alert.
    bool OpenStoredCard(const std::string& type, const std::string& name, const std::string& driver,
                        uint16_t latency);

    // Counted and nestable: the outermost pair stops the player and the
    // channel, then restarts the channel.
    void PauseSound();
    void ResumeSound();
    // Counted and nestable: the outermost pair gives the card up entirely
    // and takes it back, asking alert 19 when that fails.
    void ReleaseSound();
    void ReclaimSound();
    // Polled on the interface thread (the idle step, the tool's play loop):
    // when the open channel failed (its sound server ended), closes it and
    // treats the card as one that cannot be taken back: reopened when it
    // opens again at once, else alert 19 and its answers; with no other card
    // listed, alert 7 and sound disabled. Nothing while sound is paused.
    // True when a failure was handled.
    bool CheckChannel();

    // Until the program ends; closes the channel.
    void DisableSound();
    bool SoundEnabled() const { return enabled_ && cards_.Channel() != nullptr; }
    bool SoundDisabled() const { return !enabled_; }

    // Without a channel: kNoCard and 0.
    uint16_t SelectedCardIndex() const { return cards_.SelectedCardIndex(); }
    uint16_t SelectedLatency() const;
    // The open channel's settings for the preferences dialog; none without one.
    uint16_t LatencyCount() const;
    int32_t LatencyMs(uint16_t index) const;
    void SelectLatency(uint16_t index);
    // How a setting is listed: "%ld ms".
    static std::string LatencyLabel(int32_t milliseconds);

    CSoundCardRegistry& Registry() { return cards_.Registry(); }
    const CSoundCardRegistry& Registry() const { return cards_.Registry(); }
    CSoundChannel* Channel() const { return cards_.Channel(); }

private:
    // The player reads the channel's latency: it must be stopped and told
    // before the channel changes.
    void DetachPlayer();
    void AttachPlayer();
    // Reopens the card, asking alert 19 until it or another opens, or the
    // user disables sound.
    void TakeCardBack(uint16_t card, uint16_t latency);

    CWavePlayer& player_;
    CSoundAlerts& alerts_;
    CSoundCards cards_;
    bool enabled_ = false;
    int pauseCount_ = 0;
    int releaseCount_ = 0;
    uint16_t releasedCard_ = kNoCard;
    uint16_t releasedLatency_ = 0;
};

} // namespace quorvel
