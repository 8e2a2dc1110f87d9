// The preferences survive the real program: what one run finds is what it
// leaves for the next, the documents it had open join the recent list, and a
// damaged file never stops it from starting and is never lost.
#include <gtest/gtest.h>

#include "../common/TempFolder.h"
#include "ChildProcess.h"
#include "QtTestApplication.h"
#include "framework/GrowingMemoryMedia.h"
#include "framework/Media.h"
#include "fileformats/PreferencesFile.h"
#include "samplers/SamplerModels.h"

namespace quorvel::test {
namespace {

class CAllDocumentsExist : public CPreferencesReadSteps {
public:
    bool DocumentExists(const std::string&) override { return true; }
};

SPreferences ReadBack(const std::string& path)
{
    std::vector<uint8_t> bytes = ReadBytes(path);
    CMemoryMedia media(bytes.data(), static_cast<int32_t>(bytes.size()));
    SPreferences read;
    CAllDocumentsExist steps;
    EXPECT_FALSE(ReadPreferences(media, read, steps).chunkFailed);
    return read;
}

int RunProgram(const TempFolder& folder, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), {"--unattended", "--quit-after-start", "--trace", folder / "trace.log"});
    ChildProcess quorvel(std::string(QUORVEL_BIN_DIR) + "/quorvel", arguments,
                         {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + folder.Path(),
                          "QUORVEL_CONFIG_DIR=" + folder / "config", "XDG_CONFIG_HOME=" + folder / "qt"});
    return quorvel.Wait(20s);
}

TEST(PreferencesRestart, SettingsAndRecentDocumentsSurviveARun)
{
    TestApplication();
    const TempFolder folder;
    SPreferences earlier;
    earlier.application.values.brightness = 77;
    earlier.application.values.waveformLook = WaveformLook::ThreeD;
    earlier.application.values.alwaysMoveLeftLocator = true;
    earlier.documentDefaults.values.stretchIndex = 5;
    earlier.customColors.colors[3] = {1, 2, 3};
    CPersistentInstalledSampler bank;
    bank.modelTypeId = kSoundFontModel;
    bank.modelName = "SoundFonts";
    bank.userName = "Banks";
    CPersistentInstalledSampler windows = bank;
    windows.modelTypeId = kNewWindowModel;
    windows.userName = "Windows";
    CPersistentInstalledSampler tracks = bank;
    tracks.modelTypeId = kMixmanModel;
    tracks.userName = "Tracks";
    CPersistentInstalledSampler kits = bank;
    kits.modelTypeId = kHydrogenKitModel;
    kits.modelName = "Hydrogen Drum Kit";
    kits.userName = "Kits";
    earlier.samplers = {windows, bank, tracks, kits};
    earlier.application.values.transmitTarget = 2; // the track-file export
    SavePreferences(CFileSpec(folder / "config/Quorvel Preferences.prf"), earlier);

    const std::string loop = std::string(QUORVEL_SOURCE_DIR) + "/examples/demo-loop.wav";
    ASSERT_EQ(RunProgram(folder, {loop}), 0) << ReadText(folder / "trace.log");

    const SPreferences after = ReadBack(folder / "config/Quorvel Preferences.prf");
    EXPECT_EQ(after.application.Bytes(), earlier.application.Bytes());
    EXPECT_EQ(after.customColors.colors, earlier.customColors.colors);
    ASSERT_EQ(after.samplers.size(), 4u);
    EXPECT_EQ(after.samplers[1], bank);
    EXPECT_EQ(after.samplers[2], tracks);
    EXPECT_EQ(after.samplers[3], kits);
    // The window took the defaults and wrote them back unchanged.
    EXPECT_EQ(after.documentDefaults.values.stretchIndex, 5);
    // The document that was open when the program quit.
    EXPECT_EQ(after.recentDocuments.paths, std::vector<std::string>{loop});
    // A sound card was open and is remembered by its texts.
    EXPECT_FALSE(after.sound.cardTexts[0].empty());

    // A second start finds all of it again and keeps it.
    ASSERT_EQ(RunProgram(folder, {}), 0) << ReadText(folder / "trace.log");
    const SPreferences again = ReadBack(folder / "config/Quorvel Preferences.prf");
    EXPECT_EQ(again.application.Bytes(), earlier.application.Bytes());
    EXPECT_EQ(again.recentDocuments.paths, std::vector<std::string>{loop});
    EXPECT_EQ(again.sound.cardTexts, after.sound.cardTexts);
    EXPECT_EQ(again.samplers.size(), 4u);
}

TEST(PreferencesRestart, ADamagedFileIsKeptAndWhatItStillHoldsIsUsed)
{
    TestApplication();
    const TempFolder folder;
    SPreferences earlier;
    earlier.application.values.brightness = 77;
    SavePreferences(CFileSpec(folder / "config/Quorvel Preferences.prf"), earlier);
    std::vector<uint8_t> bytes = ReadBytes(folder / "config/Quorvel Preferences.prf");
    bytes.push_back(0); // one byte too many: the file no longer validates
    WriteBytes(folder / "config/Quorvel Preferences.prf", bytes);

    ASSERT_EQ(RunProgram(folder, {}), 0) << ReadText(folder / "trace.log");
    EXPECT_NE(ReadText(folder / "trace.log").find("Couldn't read Preferences file!"), std::string::npos)
        << ReadText(folder / "trace.log");
    // The damaged file is kept as it was, beside the one written at quit.
    EXPECT_EQ(ReadBytes(folder / "config/Quorvel Preferences.prf.bak"), bytes);
    const SPreferences after = ReadBack(folder / "config/Quorvel Preferences.prf");
    EXPECT_EQ(after.application.values.brightness, 77);
}

} // namespace
} // namespace quorvel::test
