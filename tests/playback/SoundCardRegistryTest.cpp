#include <gtest/gtest.h>

#include "playback/NullSoundCard.h"
#include "playback/SoundCardRegistry.h"

using namespace quorvel;

namespace {

struct ChannelLog {
    int created = 0;
    int starts = 0;
    int stops = 0;
};

class FakeChannel : public CSoundChannel {
public:
    FakeChannel(const CRegisteredSoundCard& card, ChannelLog& log)
        : CSoundChannel(card, 1024, 44100, nullptr, nullptr, 2), log_(log)
    {
    }
    ~FakeChannel() override { Stop(); }
    void Start() override { ++log_.starts; running_ = true; }
    void Stop() override
    {
        if (running_)
            ++log_.stops;
        running_ = false;
    }
    bool IsRunning() const override { return running_; }
    uint16_t LatencyCount() const override { return 1; }
    void SelectLatency(uint16_t) override {}
    uint16_t SelectedLatency() const override { return 0; }
    int32_t LatencyMs(uint16_t) const override { return 10; }
    uint32_t UnderrunCount() const override { return 0; }

private:
    ChannelLog& log_;
    bool running_ = false;
};

class FakeCard : public CRegisteredSoundCard {
public:
    FakeCard(std::string name, ChannelLog& log, bool usable = true, bool opens = true)
        : CRegisteredSoundCard("Fake", std::move(name), "drv", usable), log_(log), opens_(opens)
    {
    }
    std::unique_ptr<CSoundChannel> CreateChannel(int32_t, CABCSoundRenderer*, CABCSoundRenderer*,
                                                 uint16_t) const override
    {
        if (!opens_)
            throw ZSOUND_EXCEPTION();
        ++log_.created;
        return std::make_unique<FakeChannel>(*this, log_);
    }

private:
    ChannelLog& log_;
    bool opens_;
};

} // namespace

TEST(SoundCardRegistry, ListsFindsAndRemovesCardsInOrder)
{
    ChannelLog log;
    CSoundCardRegistry registry;
    registry.Append(std::make_unique<FakeCard>("one", log));
    registry.Append(std::make_unique<FakeCard>("two", log, false));
    registry.Append(std::make_unique<REGISTERED_NULL_SOUND_CARD>());
    registry.Append(std::make_unique<FakeCard>("three", log));
    ASSERT_EQ(registry.Count(), 4);
    EXPECT_EQ(registry.CardAt(4), nullptr);

    EXPECT_EQ(registry.Find("Fake", "three", "drv"), 3);
    EXPECT_EQ(registry.Find("Fake", "three", ""), -1);
    EXPECT_EQ(registry.Find("Null", "three", "drv"), -1);

    registry.RemoveUnusable();
    ASSERT_EQ(registry.Count(), 3);
    EXPECT_EQ(registry.CardAt(1)->Type(), "Null");
    EXPECT_EQ(registry.CardAt(2)->Name(), "three");

    registry.RemoveType("Fake");
    ASSERT_EQ(registry.Count(), 1);
    EXPECT_EQ(registry.CardAt(0)->Type(), "Null");
    registry.RemoveAt(5); // out of range: ignored
    EXPECT_EQ(registry.Count(), 1);
}

TEST(SoundCardRegistry, ChannelIndexIs666OnceItsCardIsGone)
{
    ChannelLog log;
    CSoundCardRegistry registry;
    registry.Append(std::make_unique<FakeCard>("one", log));
    registry.Append(std::make_unique<FakeCard>("two", log));
    auto channel = registry.CardAt(1)->CreateChannel(44100, nullptr, nullptr, 2);
    EXPECT_EQ(registry.IndexOf(*channel), 1);
    registry.RemoveAt(0);
    EXPECT_EQ(registry.IndexOf(*channel), 0);
    registry.RemoveAt(0);
    EXPECT_EQ(registry.IndexOf(*channel), CSoundCardRegistry::kNotListed);
    EXPECT_EQ(CSoundCardRegistry::kNotListed, 666);
}

TEST(SoundCardRegistry, LongTextsAreCutWithoutSplittingACharacter)
{
    ChannelLog log;
    // 62 ASCII bytes then a two-byte character straddling the limit.
    std::string name = std::string(62, 'a') + "\xC3\xA9" + "tail";
    FakeCard card(name, log);
    EXPECT_EQ(card.Name(), std::string(62, 'a'));
    FakeCard fits(std::string(63, 'b'), log);
    EXPECT_EQ(fits.Name().size(), 63u);
}

TEST(SoundCards, OpenCardKeepsTheSameChannelAndFailsCleanly)
{
    ChannelLog log;
    CSoundCards cards(nullptr, nullptr);
    cards.Registry().Append(std::make_unique<FakeCard>("broken", log, true, false));
    cards.Registry().Append(std::make_unique<FakeCard>("good", log));

    EXPECT_EQ(cards.SelectedCardIndex(), CSoundCardRegistry::kNotListed);
    EXPECT_TRUE(cards.OpenCard(1));
    EXPECT_TRUE(cards.OpenCard(1));
    EXPECT_EQ(log.created, 1);
    EXPECT_EQ(log.starts, 1);
    EXPECT_EQ(cards.SelectedCardIndex(), 1);

    // Failing to open another card still lets the previous channel go.
    EXPECT_FALSE(cards.OpenCard(0));
    EXPECT_EQ(cards.Channel(), nullptr);
    EXPECT_EQ(log.stops, 1);
    EXPECT_FALSE(cards.OpenCard(7));

    EXPECT_TRUE(cards.OpenAnyCard());
    EXPECT_EQ(cards.SelectedCardIndex(), 1);
}

TEST(SoundCards, OnlyTheOutermostPauseStopsAndRestartsTheChannel)
{
    ChannelLog log;
    CSoundCards cards(nullptr, nullptr);
    cards.Registry().Append(std::make_unique<FakeCard>("good", log));
    ASSERT_TRUE(cards.OpenCard(0));

    cards.PauseSound();
    cards.PauseSound();
    EXPECT_EQ(log.stops, 1);
    cards.ResumeSound();
    EXPECT_FALSE(cards.Channel()->IsRunning());
    cards.ResumeSound();
    EXPECT_TRUE(cards.Channel()->IsRunning());
    EXPECT_EQ(log.starts, 2);
    cards.ResumeSound(); // unbalanced: ignored
    EXPECT_EQ(log.starts, 2);

    // A card opened while paused stays stopped until the resume.
    cards.CloseChannel();
    cards.PauseSound();
    ASSERT_TRUE(cards.OpenCard(0));
    EXPECT_FALSE(cards.Channel()->IsRunning());
    cards.ResumeSound();
    EXPECT_TRUE(cards.Channel()->IsRunning());
}

TEST(SoundCards, RegistrationEndsWithTheNullCardAndKeepsOnlyUsableCards)
{
    CSoundCards cards(nullptr, nullptr);
    cards.RegisterCards();
    ASSERT_GE(cards.Registry().Count(), 1);
    const CSoundCardRegistry& registry = cards.Registry();
    EXPECT_EQ(registry.CardAt(registry.Count() - 1)->Type(), "Null");
    for (uint16_t i = 0; i < registry.Count(); ++i) {
        EXPECT_TRUE(registry.CardAt(i)->Usable()) << registry.CardAt(i)->Name();
        EXPECT_NE(registry.CardAt(i)->Name(), "null");
    }
}
