#include "playback/SoundSystem.h"

#include <cstdio>

#include "playback/WavePlayer.h"

namespace quorvel {

CSoundSystem::CSoundSystem(CWavePlayer& player, CSoundAlerts& alerts)
    // The first renderer stays absent: the channel starts every stretch as
    // silence, so the player alone renders each stretch exactly once.
    : player_(player), alerts_(alerts), cards_(nullptr, &player)
{
}

CSoundSystem::~CSoundSystem()
{
    DetachPlayer();
    cards_.CloseChannel();
}

bool CSoundSystem::RegisterCards(const std::string& capturePath)
{
    DetachPlayer();
    cards_.RegisterCards(capturePath);
    enabled_ = Registry().Count() > 0;
    return enabled_;
}

bool CSoundSystem::RegisterCards(std::vector<std::unique_ptr<CRegisteredSoundCard>> cards)
{
    DetachPlayer();
    cards_.CloseChannel();
    Registry().Clear();
    for (auto& card : cards)
        Registry().Append(std::move(card));
    Registry().RemoveUnusable();
    enabled_ = Registry().Count() > 0;
    return enabled_;
}

bool CSoundSystem::OpenCard(uint16_t index)
{
    if (!enabled_)
        return false;
    const CSoundChannel* channel = cards_.Channel();
    if (channel && channel->Card() == Registry().CardAt(index))
        return true;
    DetachPlayer();
    const bool opened = cards_.OpenCard(index);
    AttachPlayer();
    return opened;
}

bool CSoundSystem::OpenCard(uint16_t index, uint16_t latency)
{
    if (!OpenCard(index))
        return false;
    cards_.Channel()->SelectLatency(latency);
    return true;
}

bool CSoundSystem::OpenAnyCard()
{
    for (uint16_t i = 0; i < Registry().Count(); ++i)
        if (OpenCard(i))
            return true;
    return false;
}

bool CSoundSystem::EnsureSound()
{
    if (enabled_ && !cards_.Channel() && !OpenAnyCard()) {
        alerts_.NoSoundCardOpened();
        DisableSound();
    }
    return SoundEnabled();
}

bool CSoundSystem::OpenStoredCard(const std::string& type, const std::string& name,
                                  const std::string& driver, uint16_t latency)
{
    if (!enabled_)
        return false;
    const bool remembered = !type.empty() || !name.empty() || !driver.empty();
    if (remembered) {
        const int32_t index = Registry().Find(type, name, driver);
        if (index >= 0 && OpenCard(static_cast<uint16_t>(index), latency))
            return true;
        alerts_.StoredCardNotOpened(name);
    }
    return EnsureSound();
}

void CSoundSystem::PauseSound()
{
    // The player must stop before the first pause silences the channel
    // under it; the cards keep their own count for the channel.
    if (pauseCount_++ == 0)
        player_.Stop();
    cards_.PauseSound();
}

void CSoundSystem::ResumeSound()
{
    if (pauseCount_ == 0)
        return;
    --pauseCount_;
    cards_.ResumeSound();
}

void CSoundSystem::ReleaseSound()
{
    if (releaseCount_++ > 0)
        return;
    const CSoundChannel* channel = cards_.Channel();
    releasedCard_ = channel ? cards_.SelectedCardIndex() : kNoCard;
    releasedLatency_ = channel ? channel->SelectedLatency() : 0;
    DetachPlayer();
    cards_.CloseChannel();
}

void CSoundSystem::ReclaimSound()
{
    if (releaseCount_ == 0 || --releaseCount_ > 0)
        return;
    const uint16_t card = releasedCard_;
    releasedCard_ = kNoCard;
    if (card == kNoCard || !enabled_)
        return;
    TakeCardBack(card, releasedLatency_);
}

bool CSoundSystem::CheckChannel()
{
    // While paused (a lengthy operation runs) nothing plays; the question
    // waits until the operation is over.
    const CSoundChannel* channel = cards_.Channel();
    if (!channel || !channel->Failed() || pauseCount_ > 0)
        return false;
    const uint16_t card = cards_.SelectedCardIndex();
    const uint16_t latency = channel->SelectedLatency();
    DetachPlayer();
    cards_.CloseChannel();
    if (Registry().Count() <= 1) {
        // Nothing else to try: the question with "Try other" would be idle.
        if (!OpenCard(card, latency)) {
            alerts_.NoSoundCardOpened();
            DisableSound();
        }
        return true;
    }
    TakeCardBack(card, latency);
    return true;
}

void CSoundSystem::TakeCardBack(uint16_t card, uint16_t latency)
{
    if (OpenCard(card, latency))
        return;
    for (;;) {
        const int answer = alerts_.SoundChannelTaken();
        if (answer == CSoundAlerts::kRetry) {
            if (OpenCard(card, latency))
                return;
        } else if (answer == CSoundAlerts::kTryOther) {
            if (OpenAnyCard())
                return;
        } else {
            // Disable sound, and anything unexpected: never loop on a box
            // that gives no usable answer.
            DisableSound();
            return;
        }
    }
}

void CSoundSystem::DisableSound()
{
    enabled_ = false;
    DetachPlayer();
    cards_.CloseChannel();
}

uint16_t CSoundSystem::SelectedLatency() const
{
    return cards_.Channel() ? cards_.Channel()->SelectedLatency() : 0;
}

uint16_t CSoundSystem::LatencyCount() const
{
    return cards_.Channel() ? cards_.Channel()->LatencyCount() : 0;
}

int32_t CSoundSystem::LatencyMs(uint16_t index) const
{
    return cards_.Channel() ? cards_.Channel()->LatencyMs(index) : 0;
}

void CSoundSystem::SelectLatency(uint16_t index)
{
    if (cards_.Channel())
        cards_.Channel()->SelectLatency(index);
}

std::string CSoundSystem::LatencyLabel(int32_t milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ld ms", static_cast<long>(milliseconds));
    return text;
}

void CSoundSystem::DetachPlayer()
{
    player_.Stop();
    player_.SetChannel(nullptr);
}

void CSoundSystem::AttachPlayer()
{
    player_.SetChannel(cards_.Channel());
}

} // namespace quorvel
