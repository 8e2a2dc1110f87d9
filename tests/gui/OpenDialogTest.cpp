// The open dialog's preview: what it says about a file, when it refuses to
// play or open one, and the auto-play limit.
#include <gtest/gtest.h>

#include <QCheckBox>

#include "../common/TempFolder.h"
#include "QtTestApplication.h"
#include "TestSounds.h"
#include "framework/window/AlertBox.h"
#include "ui/app/OpenAudioDialog.h"
#include "ui/app/OpenPreview.h"

namespace quorvel::test {
namespace {

SoundFileInfo Info(uint16_t channels, uint16_t bits, uint32_t rate, uint32_t frames)
{
    SoundFileInfo info;
    info.channels = channels;
    info.bits = bits;
    info.rate = rate;
    info.frames = frames;
    info.supported = bits == 16;
    return info;
}

// A WAV header and `dataBytes` zero bytes, with any sample size.
void WriteRawWav(const std::string& path, uint16_t channels, uint16_t bits, uint32_t rate, uint32_t dataBytes)
{
    std::vector<uint8_t> bytes;
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i))); };
    auto put16 = [&](uint16_t v) { bytes.push_back(uint8_t(v)); bytes.push_back(uint8_t(v >> 8)); };
    auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
    tag("RIFF"); put32(36 + dataBytes); tag("WAVE");
    tag("fmt "); put32(16); put16(1); put16(channels); put32(rate);
    put32(rate * channels * bits / 8); put16(uint16_t(channels * bits / 8)); put16(bits);
    tag("data"); put32(dataBytes);
    bytes.resize(bytes.size() + dataBytes);
    WriteBytes(path, bytes);
}

TEST(OpenPreviewTest, DescribesLengthInSecondsThenMinutesAndTheFirstBrokenLimit)
{
    const SOpenPreview shortMono = DescribeSoundFile("Wave File", Info(1, 16, 44100, 88200));
    EXPECT_EQ(shortMono.channels, "Mono");
    EXPECT_EQ(shortMono.length, "2.00 s");
    EXPECT_EQ(shortMono.sampleRate, "44100 Hz");
    EXPECT_TRUE(shortMono.Usable());
    EXPECT_TRUE(shortMono.autoPlayAllowed);

    const SOpenPreview minuteStereo = DescribeSoundFile("Audio IFF", Info(2, 16, 48000, 48000 * 65 + 24000));
    EXPECT_EQ(minuteStereo.length, "1 m, 5.50 s");
    EXPECT_TRUE(minuteStereo.stereo);
    EXPECT_FALSE(minuteStereo.autoPlayAllowed);

    EXPECT_EQ(DescribeSoundFile("", Info(1, 16, 44100, 13230000)).limitAlert, 0) << "exactly five minutes";
    EXPECT_EQ(DescribeSoundFile("", Info(1, 16, 44100, 13230001)).limitAlert, 20);
    EXPECT_EQ(DescribeSoundFile("", Info(1, 16, 48000, 14000000)).limitAlert, 20) << "absolute frame limit";
    EXPECT_EQ(DescribeSoundFile("", Info(1, 8, 44100, 100)).limitAlert, 21);
    EXPECT_EQ(DescribeSoundFile("", Info(4, 16, 44100, 100)).limitAlert, 22);
    EXPECT_EQ(DescribeSoundFile("", Info(4, 8, 44100, 13230001)).limitAlert, 20) << "length is checked first";
}

TEST(OpenPreviewTest, OnlySoundFilesAndDocumentsArePreviewedWhateverTheCase)
{
    EXPECT_EQ(PreviewedTypeOf("LOOP.AIF"), "Audio IFF");
    EXPECT_EQ(PreviewedTypeOf("x.qvl"), "Quorvel! Document File");
    EXPECT_FALSE(PreviewedTypeOf("x.qlx"));
    EXPECT_FALSE(PreviewedTypeOf("x.backup-aiff"));
}

class OpenDialogTest : public ::testing::Test {
protected:
    OpenDialogTest()
    {
        TestApplication();
        CAlertBox::SetResponder([this](const AlertRecord& record) {
            alerts.push_back(record.message);
            return AlertResultForSlot(0);
        });
    }
    ~OpenDialogTest() override { CAlertBox::SetResponder({}); }

    TempFolder folder;
    CWavePlayer player;
    std::vector<std::string> alerts;
};

TEST_F(OpenDialogTest, PanelDescribesTheSelectedFileAndOffersTheChannelChoiceForStereo)
{
    const std::string stereo = folder / "stereo.wav";
    WriteLoopWav(stereo, 2);
    COpenAudioDialog dialog(player, false);
    dialog.ShowPreviewOf(QString::fromStdString(stereo));
    EXPECT_EQ(dialog.PreviewText().toStdString(),
              "Type: Wave File\nChannels: Stereo\nLength: 2.00 s\nBits: 16\nSample Rate: 44100 Hz");
    EXPECT_EQ(dialog.ChosenMode(), ChannelMode::Mix) << "mix is the default";
    EXPECT_FALSE(dialog.PlayEnabled()) << "nothing plays without sound output";
}

TEST_F(OpenDialogTest, FileBreakingALimitCanBeNeitherPlayedNorOpened)
{
    const std::string eightBit = folder / "eight.wav";
    WriteRawWav(eightBit, 1, 8, 44100, 1000);
    COpenAudioDialog dialog(player, true);
    dialog.ShowPreviewOf(QString::fromStdString(eightBit));
    EXPECT_FALSE(dialog.PlayEnabled());
    EXPECT_NE(dialog.PreviewText().toStdString().find("Quorvel! only supports 16-bit audio files."),
              std::string::npos);

    dialog.selectFile(QString::fromStdString(eightBit));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "the dialog stays open";
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], "Quorvel! only supports 16-bit audio files.");
}

TEST_F(OpenDialogTest, AutoPlayRefusesFilesLongerThanThirtySecondsAndUnreadableFilesSayAlert24)
{
    const std::string longFile = folder / "long.wav";
    const std::string broken = folder / "broken.wav";
    WriteRawWav(longFile, 1, 16, 8000, 8000 * 2 * 31);
    WriteBytes(broken, {'R', 'I', 'F', 'F'});
    COpenAudioDialog dialog(player, true);
    dialog.findChild<QCheckBox*>()->setChecked(true);
    dialog.ShowPreviewOf(QString::fromStdString(longFile));
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], "Auto-play is limited to 30-second files.");
    EXPECT_FALSE(player.IsPlaying(player.Sound()));

    dialog.ShowPreviewOf(QString::fromStdString(broken));
    EXPECT_EQ(dialog.PreviewText().toStdString(), "[Couldn't load sound file!]The file is in an unknown format or corrupt.");
}

} // namespace
} // namespace quorvel::test
