#pragma once
// The machine's sound cards, each able to open a channel of its own family,
// kept in registration order.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "playback/SoundChannel.h"

namespace quorvel {

class CRegisteredSoundCard {
public:
    // The three identifying texts are cut to kMaxText bytes so that they fit
    // the preferences record that remembers the card.
    static constexpr size_t kMaxText = 63;

    CRegisteredSoundCard(std::string type, std::string name, std::string driver, bool usable,
                         bool emulated = false);
    virtual ~CRegisteredSoundCard() = default;
    CRegisteredSoundCard(const CRegisteredSoundCard&) = delete;
    CRegisteredSoundCard& operator=(const CRegisteredSoundCard&) = delete;

    const std::string& Type() const { return type_; }
    const std::string& Name() const { return name_; }
    const std::string& Driver() const { return driver_; }
    bool Usable() const { return usable_; }
    bool Emulated() const { return emulated_; }

    // A new, stopped channel owned by the caller; raises ZSOUND_EXCEPTION (or
    // a family's own) when the card cannot be opened.
    virtual std::unique_ptr<CSoundChannel> CreateChannel(int32_t outputRate, CABCSoundRenderer* first,
                                                         CABCSoundRenderer* second,
                                                         uint16_t channelCount) const = 0;

protected:
    void SetUsable(bool usable) { usable_ = usable; }

private:
    std::string type_;
    std::string name_;
    std::string driver_;
    bool usable_;
    bool emulated_;
};

class CSoundCardRegistry {
public:
    // Returned by IndexOf for a channel whose card is not listed.
    static constexpr uint16_t kNotListed = 666;

    uint16_t Count() const { return static_cast<uint16_t>(cards_.size()); }
    // nullptr past the end.
    CRegisteredSoundCard* CardAt(uint16_t index) const;
    void RemoveAt(uint16_t index);
    void Append(std::unique_ptr<CRegisteredSoundCard> card);
    uint16_t IndexOf(const CSoundChannel& channel) const;
    // Index of the card with these three texts (compared as stored, i.e.
    // after cutting), or -1.
    int32_t Find(const std::string& type, const std::string& name, const std::string& driver) const;
    void RemoveType(const std::string& type);
    void RemoveUnusable();
    void Clear() { cards_.clear(); }

private:
    std::vector<std::unique_ptr<CRegisteredSoundCard>> cards_;
};

// The registry with at most one open channel: what the application owns.
class CSoundCards {
public:
    static constexpr int32_t kOutputRate = 44100;
    static constexpr uint16_t kChannelCount = 2;

    // The renderers are not owned and must outlive the channel.
    CSoundCards(CABCSoundRenderer* first, CABCSoundRenderer* second);
    ~CSoundCards();
    CSoundCards(const CSoundCards&) = delete;
    CSoundCards& operator=(const CSoundCards&) = delete;

    CSoundCardRegistry& Registry() { return registry_; }
    const CSoundCardRegistry& Registry() const { return registry_; }

    // The JACK card when a server answers, the ALSA cards, then the Null
    // card (capturing into capturePath when it is not empty), then drops
    // every card that is not usable. An ALSA enumeration failure leaves the
    // JACK card, if any, and the Null card.
    void RegisterCards(const std::string& capturePath = {});

    // True when the card's channel is open afterwards; it is started unless
    // sound is paused. Any failure leaves no channel.
    bool OpenCard(uint16_t index);
    // Tries the cards in registry order; true at the first that opens.
    bool OpenAnyCard();
    void CloseChannel();

    // Counted: only the outermost pair stops and restarts the channel.
    void PauseSound();
    void ResumeSound();

    CSoundChannel* Channel() const { return channel_.get(); }
    // The registry index of the open channel's card; kNotListed without one.
    uint16_t SelectedCardIndex() const;

private:
    CSoundCardRegistry registry_;
    std::unique_ptr<CSoundChannel> channel_;
    CABCSoundRenderer* first_;
    CABCSoundRenderer* second_;
    int pauseCount_ = 0;
};

} // namespace quorvel
