#include "playback/SoundCardRegistry.h"

#include <algorithm>

#include "framework/UTF8Text.h"
#include "playback/AlsaSoundCard.h"
#include "playback/JackSoundCard.h"
#include "playback/NullSoundCard.h"

namespace quorvel {

CRegisteredSoundCard::CRegisteredSoundCard(std::string type, std::string name, std::string driver,
                                           bool usable, bool emulated)
    : type_(CutUTF8(std::move(type), kMaxText)), name_(CutUTF8(std::move(name), kMaxText)),
      driver_(CutUTF8(std::move(driver), kMaxText)), usable_(usable), emulated_(emulated)
{
}

CRegisteredSoundCard* CSoundCardRegistry::CardAt(uint16_t index) const
{
    return index < cards_.size() ? cards_[index].get() : nullptr;
}

void CSoundCardRegistry::RemoveAt(uint16_t index)
{
    if (index < cards_.size())
        cards_.erase(cards_.begin() + index);
}

void CSoundCardRegistry::Append(std::unique_ptr<CRegisteredSoundCard> card)
{
    cards_.push_back(std::move(card));
}

uint16_t CSoundCardRegistry::IndexOf(const CSoundChannel& channel) const
{
    for (size_t i = 0; i < cards_.size(); ++i)
        if (cards_[i].get() == channel.Card())
            return static_cast<uint16_t>(i);
    return kNotListed;
}

int32_t CSoundCardRegistry::Find(const std::string& type, const std::string& name,
                                 const std::string& driver) const
{
    for (size_t i = 0; i < cards_.size(); ++i)
        if (cards_[i]->Type() == type && cards_[i]->Name() == name && cards_[i]->Driver() == driver)
            return static_cast<int32_t>(i);
    return -1;
}

void CSoundCardRegistry::RemoveType(const std::string& type)
{
    std::erase_if(cards_, [&](const auto& card) { return card->Type() == type; });
}

void CSoundCardRegistry::RemoveUnusable()
{
    std::erase_if(cards_, [](const auto& card) { return !card->Usable(); });
}

CSoundCards::CSoundCards(CABCSoundRenderer* first, CABCSoundRenderer* second)
    : first_(first), second_(second)
{
}

CSoundCards::~CSoundCards()
{
    // The channel refers to its card: it goes first.
    channel_.reset();
}

void CSoundCards::RegisterCards(const std::string& capturePath)
{
    CloseChannel();
    registry_.Clear();
    // A musician running a JACK server wants playback in its mix.
    RegisterJackCards(registry_);
    try {
        RegisterAlsaCards(registry_);
    } catch (const ZSOUND_EXCEPTION&) {
        // No ALSA devices to offer; the Null card still lets the program run.
    }
    registry_.Append(std::make_unique<REGISTERED_NULL_SOUND_CARD>(capturePath));
    registry_.RemoveUnusable();
}

bool CSoundCards::OpenCard(uint16_t index)
{
    CRegisteredSoundCard* card = registry_.CardAt(index);
    if (channel_ && card && channel_->Card() == card)
        return true;
    CloseChannel();
    if (!card)
        return false;
    try {
        channel_ = card->CreateChannel(kOutputRate, first_, second_, kChannelCount);
        if (pauseCount_ == 0)
            channel_->Start();
        return true;
    } catch (const XBase&) {
        channel_.reset();
        return false;
    }
}

bool CSoundCards::OpenAnyCard()
{
    for (uint16_t i = 0; i < registry_.Count(); ++i)
        if (OpenCard(i))
            return true;
    return false;
}

void CSoundCards::CloseChannel()
{
    channel_.reset();
}

void CSoundCards::PauseSound()
{
    if (pauseCount_++ == 0 && channel_)
        channel_->Stop();
}

void CSoundCards::ResumeSound()
{
    if (pauseCount_ == 0)
        return;
    if (--pauseCount_ == 0 && channel_)
        channel_->Start();
}

uint16_t CSoundCards::SelectedCardIndex() const
{
    return channel_ ? registry_.IndexOf(*channel_) : CSoundCardRegistry::kNotListed;
}

} // namespace quorvel
