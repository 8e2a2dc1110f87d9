// The Preferences dialog: the card and latency change at once and Cancel
// puts them back; OK stores the settings the dialog edits, and only those.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>

#include "playback/NullSoundCard.h"
#include "playback/SoundSystem.h"
#include "playback/WavePlayer.h"
#include "ui/preferences/PreferencesDialog.h"

namespace quorvel {
namespace {

class SilentAlerts : public CSoundAlerts {
public:
    int NoSoundCardOpened() override { return AlertResultForSlot(0); }
    int StoredCardNotOpened(const std::string&) override { return AlertResultForSlot(0); }
    int SoundChannelTaken() override { return kDisableSound; }
};

class PreferencesDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::unique_ptr<CRegisteredSoundCard>> cards;
        for (int i = 0; i < 2; ++i)
            cards.push_back(std::make_unique<REGISTERED_NULL_SOUND_CARD>(NullCardOptions{"", NullClock::Manual}));
        ASSERT_TRUE(sound.RegisterCards(std::move(cards)));
        ASSERT_TRUE(sound.OpenCard(0, 3));
    }
    ~PreferencesDialogTest() override { CModalDialog::SetAutoAnswer(std::nullopt); }

    CWavePlayer player;
    SilentAlerts alerts;
    CSoundSystem sound{player, alerts};
    SSettings settings;
};

TEST_F(PreferencesDialogTest, CancelRestoresTheCardAndLatencyFoundOnEntry)
{
    CPreferencesDialog dialog(settings, &sound);
    ASSERT_EQ(dialog.CardList()->count(), 2);
    EXPECT_EQ(dialog.LatencyList()->currentIndex(), 3);
    EXPECT_TRUE(dialog.LatencyList()->currentText().endsWith(" ms"));
    dialog.CardList()->setCurrentIndex(1);
    emit dialog.CardList()->activated(1);
    EXPECT_EQ(sound.SelectedCardIndex(), 1) << "a chosen card opens at once";
    emit dialog.LatencyList()->activated(5);
    EXPECT_EQ(sound.SelectedLatency(), 5);
    dialog.Switch(0)->setChecked(false);

    CModalDialog::SetAutoAnswer(QDialog::Rejected);
    EXPECT_FALSE(dialog.Edit());
    EXPECT_EQ(sound.SelectedCardIndex(), 0);
    EXPECT_EQ(sound.SelectedLatency(), 3);
    EXPECT_TRUE(settings.application.scrollDuringPlayback) << "Cancel stores nothing";
}

TEST_F(PreferencesDialogTest, OkStoresWhatTheDialogEdits)
{
    CPreferencesDialog dialog(settings, &sound);
    dialog.LookList()->setCurrentIndex(0);
    dialog.BrightnessSlider()->setValue(80);
    dialog.Switch(2)->setChecked(true);
    // A window closing meanwhile writes its defaults; OK must not undo that.
    settings.documentDefaults.stretchIndex = 7;
    CModalDialog::SetAutoAnswer(QDialog::Accepted);
    EXPECT_TRUE(dialog.Edit());
    EXPECT_EQ(settings.application.waveformLook, WaveformLook::Plain);
    EXPECT_EQ(settings.application.brightness, 80);
    EXPECT_TRUE(settings.application.barsToOneInNewDocuments);
    EXPECT_EQ(settings.documentDefaults.stretchIndex, 7);
    EXPECT_EQ(dialog.LookList()->itemText(1), "3D");
}

} // namespace
} // namespace quorvel
