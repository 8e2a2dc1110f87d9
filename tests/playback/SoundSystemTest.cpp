#include <gtest/gtest.h>

#include <deque>

#include "SoundAlertsDouble.h"
#include "WavePlayerFixtures.h"
#include "playback/NullSoundCard.h"
#include "playback/SoundSystem.h"

using namespace quorvel;

namespace {

// A silent channel whose output goes away when its card says so.
class LosableChannel : public NULL_CHANNEL {
public:
    LosableChannel(const CRegisteredSoundCard& card, int32_t outputRate, CABCSoundRenderer* first,
                   CABCSoundRenderer* second, uint16_t channelCount, const bool& lost)
        : NULL_CHANNEL(card, outputRate, first, second, channelCount, NullCardOptions{"", NullClock::Manual}),
          lost_(lost)
    {
    }
    bool Failed() const override { return lost_; }

private:
    const bool& lost_;
};

// A silent card on a manual clock that refuses to open while `failures` is
// not zero (each refusal counts one down; negative refuses for ever). Its
// channels fail while `lost` is set.
class FlakyCard : public CRegisteredSoundCard {
public:
    explicit FlakyCard(std::string name, int failures = 0, bool usable = true)
        : CRegisteredSoundCard("Flaky", std::move(name), "drv", usable), failures(failures)
    {
    }
    std::unique_ptr<CSoundChannel> CreateChannel(int32_t outputRate, CABCSoundRenderer* first,
                                                 CABCSoundRenderer* second,
                                                 uint16_t channelCount) const override
    {
        ++attempts;
        if (failures != 0) {
            if (failures > 0)
                --failures;
            throw ZSOUND_EXCEPTION();
        }
        return std::make_unique<LosableChannel>(*this, outputRate, first, second, channelCount, lost);
    }
    mutable int failures;
    bool lost = false;
    mutable int attempts = 0;
};

using test::FakeAlerts;

class SoundSystemTest : public ::testing::Test {
protected:
    // Registers cards named "a", "b", ... with the given failure counts.
    std::vector<FlakyCard*> Register(std::initializer_list<int> failures)
    {
        std::vector<std::unique_ptr<CRegisteredSoundCard>> cards;
        std::vector<FlakyCard*> raw;
        char name = 'a';
        for (int f : failures) {
            auto card = std::make_unique<FlakyCard>(std::string(1, name++), f);
            raw.push_back(card.get());
            cards.push_back(std::move(card));
        }
        EXPECT_TRUE(system.RegisterCards(std::move(cards)));
        return raw;
    }

    void StartPlaying()
    {
        player.PlayAll(*sound, &notifier);
        ASSERT_TRUE(player.IsPlaying(sound.get()));
    }

    FakeAlerts alerts;
    std::unique_ptr<WAVE_SAMPLE> sound = test::CountingSound(200000);
    test::CCountingNotifier notifier;
    test::CDirectPlayer player;
    CSoundSystem system{player, alerts};
};

} // namespace

TEST_F(SoundSystemTest, OpensCardsAndStopsThePlayerOnlyWhenTheChannelChanges)
{
    EXPECT_EQ(system.LatencyCount(), 0);
    Register({0, 0, -1});
    ASSERT_TRUE(system.OpenCard(0));
    EXPECT_EQ(system.LatencyCount(), 15);
    EXPECT_EQ(CSoundSystem::LatencyLabel(system.LatencyMs(system.SelectedLatency())), "371 ms");
    EXPECT_TRUE(system.SoundEnabled());
    EXPECT_TRUE(system.Channel()->IsRunning());
    EXPECT_EQ(system.SelectedCardIndex(), 0);

    StartPlaying();
    const CSoundChannel* first = system.Channel();
    EXPECT_TRUE(system.OpenCard(0));
    EXPECT_EQ(system.Channel(), first);
    EXPECT_TRUE(player.IsPlaying(sound.get()));

    EXPECT_TRUE(system.OpenCard(1));
    EXPECT_FALSE(player.IsPlaying(sound.get()));
    EXPECT_EQ(notifier.stopped, 1);
    EXPECT_EQ(system.SelectedCardIndex(), 1);

    // A card that fails leaves no channel, but sound stays enabled.
    EXPECT_FALSE(system.OpenCard(2));
    EXPECT_EQ(system.Channel(), nullptr);
    EXPECT_FALSE(system.SoundEnabled());
    EXPECT_FALSE(system.SoundDisabled());
    EXPECT_EQ(system.SelectedCardIndex(), CSoundSystem::kNoCard);
    EXPECT_FALSE(system.OpenCard(7));
}

TEST_F(SoundSystemTest, EnsureSoundOpensAnyCardOrDisablesSoundAfterAlert7)
{
    auto cards = Register({-1, 0});
    EXPECT_TRUE(system.EnsureSound());
    EXPECT_EQ(system.SelectedCardIndex(), 1);
    EXPECT_TRUE(alerts.shown.empty());
    // With a channel open nothing is tried again.
    EXPECT_TRUE(system.EnsureSound());
    EXPECT_EQ(cards[0]->attempts, 1);

    system.RegisterCards(std::vector<std::unique_ptr<CRegisteredSoundCard>>{});
    EXPECT_TRUE(system.SoundDisabled());
    EXPECT_FALSE(system.EnsureSound());
    EXPECT_TRUE(alerts.shown.empty()) << "no usable card is the start-up's own alert";

    cards = Register({-1, 1});
    EXPECT_FALSE(system.EnsureSound());
    EXPECT_EQ(alerts.shown, std::vector<std::string>{"7"});
    EXPECT_TRUE(system.SoundDisabled());
    // Disabled for good: a card that would now open is not tried.
    EXPECT_FALSE(system.OpenCard(1));
    EXPECT_FALSE(system.OpenAnyCard());
    EXPECT_EQ(cards[1]->attempts, 1);
    EXPECT_FALSE(system.EnsureSound());
    EXPECT_EQ(alerts.shown.size(), 1u);
}

TEST_F(SoundSystemTest, StoredCardOpensWithItsLatencyOrFallsBackAfterAlert12)
{
    auto cards = Register({0, 0});
    EXPECT_TRUE(system.OpenStoredCard("Flaky", "b", "drv", 3));
    EXPECT_EQ(system.SelectedCardIndex(), 1);
    EXPECT_EQ(system.SelectedLatency(), 3);
    EXPECT_EQ(system.Channel()->CurrentLatencyMs(), 116);
    EXPECT_TRUE(alerts.shown.empty());

    // Not listed: named in alert 12, then any card.
    system.DisableSound();
    cards = Register({0, 0});
    EXPECT_TRUE(system.OpenStoredCard("Flaky", "gone", "drv", 3));
    EXPECT_EQ(alerts.shown, std::vector<std::string>{"12:gone"});
    EXPECT_EQ(system.SelectedCardIndex(), 0);

    // Listed but refusing, and no other card opens either.
    alerts.shown.clear();
    cards = Register({-1, -1});
    EXPECT_FALSE(system.OpenStoredCard("Flaky", "b", "drv", 0));
    EXPECT_EQ(alerts.shown, (std::vector<std::string>{"12:b", "7"}));
    EXPECT_TRUE(system.SoundDisabled());

    // No card remembered yet: straight to any card, no alert.
    alerts.shown.clear();
    Register({0});
    EXPECT_TRUE(system.OpenStoredCard("", "", "", 0));
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(SoundSystemTest, NestedPauseStopsPlayerAndChannelOnlyAtTheOutermostPair)
{
    Register({0, 0});
    ASSERT_TRUE(system.OpenCard(0));
    StartPlaying();

    system.PauseSound();
    EXPECT_FALSE(player.IsPlaying(sound.get()));
    EXPECT_FALSE(system.Channel()->IsRunning());
    system.PauseSound();
    system.ResumeSound();
    EXPECT_FALSE(system.Channel()->IsRunning());
    // A card opened while paused stays stopped.
    ASSERT_TRUE(system.OpenCard(1));
    EXPECT_FALSE(system.Channel()->IsRunning());
    system.ResumeSound();
    EXPECT_TRUE(system.Channel()->IsRunning());

    // An unmatched resume is ignored and does not unbalance the next pause.
    system.ResumeSound();
    system.PauseSound();
    EXPECT_FALSE(system.Channel()->IsRunning());
    system.ResumeSound();
    EXPECT_TRUE(system.Channel()->IsRunning());
}

TEST_F(SoundSystemTest, NestedReleaseGivesTheCardUpAndReclaimTakesItBackWithItsLatency)
{
    auto cards = Register({0, 0});
    ASSERT_TRUE(system.OpenCard(1, 5));
    StartPlaying();

    system.ReleaseSound();
    EXPECT_EQ(system.Channel(), nullptr);
    EXPECT_FALSE(player.IsPlaying(sound.get()));
    system.ReleaseSound();
    system.ReclaimSound();
    EXPECT_EQ(system.Channel(), nullptr);
    system.ReclaimSound();
    ASSERT_NE(system.Channel(), nullptr);
    EXPECT_EQ(system.SelectedCardIndex(), 1);
    EXPECT_EQ(system.SelectedLatency(), 5);
    EXPECT_TRUE(system.Channel()->IsRunning());
    EXPECT_EQ(cards[0]->attempts, 0);

    // Nothing open when released: nothing is opened when reclaimed.
    system.ReclaimSound();
    system.DisableSound();
    Register({0});
    system.ReleaseSound();
    system.ReclaimSound();
    EXPECT_EQ(system.Channel(), nullptr);
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(SoundSystemTest, Alert19RetriesTriesOtherCardsOrDisablesSound)
{
    // Retry until the remembered card opens, with its latency.
    auto cards = Register({0, 0});
    ASSERT_TRUE(system.OpenCard(1, 4));
    system.ReleaseSound();
    cards[1]->failures = 2;
    alerts.answers = {CSoundAlerts::kRetry, CSoundAlerts::kRetry};
    system.ReclaimSound();
    EXPECT_EQ(alerts.shown, (std::vector<std::string>{"19", "19"}));
    EXPECT_EQ(system.SelectedCardIndex(), 1);
    EXPECT_EQ(system.SelectedLatency(), 4);

    // Try other: asked again while no card opens.
    alerts.shown.clear();
    system.ReleaseSound();
    cards[0]->failures = 1;
    cards[1]->failures = -1;
    alerts.answers = {CSoundAlerts::kTryOther, CSoundAlerts::kTryOther};
    system.ReclaimSound();
    EXPECT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(system.SelectedCardIndex(), 0);
    EXPECT_TRUE(system.SoundEnabled());

    // Disable sound: for good.
    alerts.shown.clear();
    system.ReleaseSound();
    cards[0]->failures = -1;
    alerts.answers = {CSoundAlerts::kRetry, CSoundAlerts::kDisableSound};
    system.ReclaimSound();
    EXPECT_EQ(alerts.shown.size(), 2u);
    EXPECT_TRUE(system.SoundDisabled());
    cards[0]->failures = 0;
    EXPECT_FALSE(system.OpenCard(0));

    // An answer that is none of the three ends the questions too.
    cards = Register({0});
    ASSERT_TRUE(system.OpenCard(0));
    system.ReleaseSound();
    cards[0]->failures = -1;
    alerts.answers = {0};
    system.ReclaimSound();
    EXPECT_TRUE(system.SoundDisabled());
}

TEST_F(SoundSystemTest, AFailedChannelIsReopenedOrReplacedAfterAlert19OrEndsSoundAfterAlert7)
{
    std::vector<FlakyCard*> cards = Register({0, 0});
    ASSERT_TRUE(system.OpenCard(0, 0));
    EXPECT_FALSE(system.CheckChannel());

    // The card comes straight back: no question, same card.
    StartPlaying();
    cards[0]->lost = true;
    EXPECT_TRUE(system.CheckChannel());
    EXPECT_FALSE(player.IsPlaying(sound.get()));
    cards[0]->lost = false;
    EXPECT_EQ(cards[0]->attempts, 2);
    EXPECT_EQ(system.SelectedCardIndex(), 0);
    EXPECT_TRUE(alerts.shown.empty());

    // It stays away: alert 19 (not while paused), Retry fails again, Try
    // other takes card b.
    cards[0]->lost = true;
    cards[0]->failures = -1;
    system.PauseSound();
    EXPECT_FALSE(system.CheckChannel());
    system.ResumeSound();
    alerts.answers = {CSoundAlerts::kRetry, CSoundAlerts::kTryOther};
    EXPECT_TRUE(system.CheckChannel());
    EXPECT_EQ(alerts.shown, (std::vector<std::string>{"19", "19"}));
    EXPECT_EQ(system.SelectedCardIndex(), 1);
    EXPECT_TRUE(system.SoundEnabled());

    // A failed only card that does not come back: alert 7, sound off.
    alerts.shown.clear();
    cards = Register({0});
    ASSERT_TRUE(system.OpenCard(0));
    cards[0]->lost = true;
    cards[0]->failures = -1;
    EXPECT_TRUE(system.CheckChannel());
    EXPECT_EQ(alerts.shown, std::vector<std::string>{"7"});
    EXPECT_TRUE(system.SoundDisabled());
    EXPECT_EQ(system.Channel(), nullptr);
    EXPECT_FALSE(system.CheckChannel());
}
