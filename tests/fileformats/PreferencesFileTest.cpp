// The preferences file: exact chunk layout, round trips, and every kind of
// damage a file on disk can carry.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include <set>

#include "framework/GrowingMemoryMedia.h"
#include "framework/Media.h"
#include "fileformats/PreferencesFile.h"
#include "samplers/SamplerModels.h"
#include "framework/FileSpec.h"

#include "../common/TempFolder.h"

namespace quorvel {
namespace {

class CRecordingSteps : public CPreferencesReadSteps {
public:
    std::set<std::string> existing;
    std::vector<uint32_t> unsupported;
    int soundReads = 0;
    bool DocumentExists(const std::string& path) override { return existing.count(path) != 0; }
    void SamplerNotSupported(const CPersistentInstalledSampler& sampler) override
    {
        unsupported.push_back(sampler.modelTypeId);
    }
    void SoundPreferencesRead(const CSoundPreferences&) override { ++soundReads; }
};

std::vector<uint8_t> Written(const SPreferences& preferences)
{
    CGrowingMemoryMedia media;
    WritePreferences(media, preferences);
    return media.Bytes();
}

SPreferencesReadReport ReadBack(std::vector<uint8_t> bytes, SPreferences& into, CRecordingSteps& steps)
{
    CMemoryMedia media(bytes.data(), static_cast<int32_t>(bytes.size()));
    return ReadPreferences(media, into, steps);
}

uint32_t BE32At(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

// Chunk identifiers and sizes inside the "PREF" group, in file order.
std::vector<std::pair<std::string, uint32_t>> Chunks(const std::vector<uint8_t>& b)
{
    std::vector<std::pair<std::string, uint32_t>> chunks;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
        const uint32_t size = BE32At(b, at + 4);
        chunks.emplace_back(id, size);
        at += 8 + size + (size & 1);
    }
    return chunks;
}

CPersistentInstalledSampler Sampler(uint32_t typeId, std::string userName)
{
    CPersistentInstalledSampler sampler;
    sampler.modelTypeId = typeId;
    sampler.modelName = std::string(31, 'M');
    sampler.userName = std::move(userName);
    sampler.midiIn = {"MIDI In 1", "ALSA"};
    sampler.midiOut = {"MIDI Out 1", "ALSA"};
    sampler.scsiBus = {"host0", "Linux SG"};
    sampler.scsiId = 5;
    sampler.sysexId = 3;
    sampler.versionKnown = true;
    sampler.osVersion = {4, 40, 0};
    return sampler;
}

SPreferences Unusual()
{
    SPreferences p;
    p.sound.cardTexts = {"ALSA", "hw:1,0", "USB Audio"};
    p.sound.channelSetting = 7;
    p.sound.outputRate = 48000;
    p.application.values.waveformColor = {1, 2, 65535};
    p.application.values.scrollDuringPlayback = false;
    p.application.values.alwaysMoveLeftLocator = true;
    p.application.values.transmitTarget = 1;
    p.application.values.waveformLook = WaveformLook::ThreeD;
    p.application.values.keptSetting = 9;
    p.application.values.barsToOneInNewDocuments = true;
    p.application.values.brightness = 77;
    p.application.values.showOpenDialogOnStartup = false;
    p.documentDefaults.values = {true, true, false, true, 13};
    p.recentDocuments.paths = {"/music/a loop.qvl", "/music/b.wav"};
    p.customColors.colors[15] = {10, 20, 30};
    p.samplers = {Sampler(4000, std::string(40, 'U')), Sampler(kNewWindowModel, "Windows")};
    return p;
}

TEST(PreferencesFile, DefaultFileHasTheChunksInOrderWithPadding)
{
    const std::vector<uint8_t> bytes = Written(SPreferences{});
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CAT ");
    EXPECT_EQ(BE32At(bytes, 4) + 8, bytes.size());
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "PREF");
    // No recent documents, no samplers: neither "PRDP" nor "ISRG".
    const std::vector<std::pair<std::string, uint32_t>> expected{
        {"PSNP", 204}, {"PARP", 17}, {"PDDP", 7}, {"PCOL", 99}};
    EXPECT_EQ(Chunks(bytes), expected);
    // The odd sizes are padded: 12 + (8+204) + (8+17+1) + (8+7+1) + (8+99+1).
    EXPECT_EQ(bytes.size(), 12u + 212 + 26 + 16 + 108);
    // "PARP" defaults, little-endian: colour 35453 / 32114 / 65535, scroll on.
    const size_t parp = 12 + 212 + 8;
    EXPECT_EQ(bytes[parp], 1);
    EXPECT_EQ(bytes[parp + 1] | (bytes[parp + 2] << 8), 35453);
    EXPECT_EQ(bytes[parp + 7], 1);
    EXPECT_EQ(bytes[parp + 11] | (bytes[parp + 12] << 8), 2); // Shaded
    EXPECT_EQ(bytes[parp + 15], 50);
    // "PSNP" ends with the rate, big-endian.
    EXPECT_EQ(BE32At(bytes, 12 + 8 + 200), 44100u);
}

TEST(PreferencesFile, EverySettingSurvivesAWriteAndARead)
{
    const SPreferences written = Unusual();
    const std::vector<uint8_t> bytes = Written(written);
    const std::vector<std::pair<std::string, uint32_t>> chunks = Chunks(bytes);
    ASSERT_EQ(chunks.size(), 6u);
    EXPECT_EQ(chunks[3].first, "PRDP");
    EXPECT_EQ(chunks[5].first, "CAT ");

    SPreferences read;
    CRecordingSteps steps;
    steps.existing = {"/music/a loop.qvl", "/music/b.wav"};
    const SPreferencesReadReport report = ReadBack(bytes, read, steps);
    EXPECT_FALSE(report.chunkFailed);
    EXPECT_FALSE(report.recentDocumentsDropped);
    EXPECT_EQ(steps.soundReads, 1);
    EXPECT_EQ(read.sound.cardTexts, written.sound.cardTexts);
    EXPECT_EQ(read.sound.channelSetting, 7);
    EXPECT_EQ(read.sound.outputRate, 48000);
    EXPECT_EQ(read.application.Bytes(), written.application.Bytes());
    EXPECT_EQ(read.documentDefaults.Bytes(), written.documentDefaults.Bytes());
    EXPECT_EQ(read.recentDocuments.paths, written.recentDocuments.paths);
    EXPECT_EQ(read.customColors.colors, written.customColors.colors);
    ASSERT_EQ(read.samplers.size(), 2u);
    EXPECT_EQ(read.samplers[0], written.samplers[0]);
    EXPECT_EQ(read.samplers[0].userName.size(), 40u);
    EXPECT_EQ(read.samplers[0].modelName.size(), 31u);
    EXPECT_EQ(read.application.values.transmitTarget, 1);
}

TEST(PreferencesFile, SamplerRecordLayout)
{
    const std::vector<uint8_t> b = Sampler(4000, "My S1000").Bytes();
    ASSERT_EQ(b.size(), 343u);
    EXPECT_EQ(b[1] | (b[2] << 8), 4000);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[37])), "Linux SG"); // bus driver kind first
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[70])), "host0");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[103])), "MIDI In 1");
    EXPECT_EQ(b[235], 5);
    EXPECT_EQ(b[236], 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[237])), "My S1000");
    EXPECT_EQ(b[338], 0xBC);
    EXPECT_EQ(b[339], 4);
    EXPECT_EQ(b[340], 40);
    // Names longer than their fields are cut, never run into the next field.
    CPersistentInstalledSampler longNames = Sampler(4000, std::string(60, 'x'));
    longNames.modelName = std::string(50, 'y');
    CPersistentInstalledSampler read;
    const std::vector<uint8_t> cut = longNames.Bytes();
    read.Read(cut.data(), static_cast<uint32_t>(cut.size()));
    EXPECT_EQ(read.userName, std::string(40, 'x'));
    EXPECT_EQ(read.modelName, std::string(31, 'y'));
}

TEST(PreferencesFile, EveryInstalledSamplerSurvivesARestartAndTheTargetStaysOnIt)
{
    SPreferences written;
    written.samplers = {Sampler(kNewWindowModel, "Windows"), Sampler(kSampleCellModel, "Cells"),
                        Sampler(kSoundFontModel, "Fonts"), Sampler(kMixmanModel, "Tracks"),
                        Sampler(4100, "My S3000")};
    written.application.values.transmitTarget = 3;
    SPreferences read;
    CRecordingSteps steps;
    ReadBack(Written(written), read, steps);
    ASSERT_EQ(read.samplers.size(), 5u);
    EXPECT_EQ(read.samplers, written.samplers);
    EXPECT_EQ(read.samplers[read.application.values.transmitTarget].userName, "Tracks");

    // The track-file destination alone still makes a sampler group.
    SPreferences only;
    only.samplers = {Sampler(kMixmanModel, "Tracks")};
    EXPECT_EQ(Chunks(Written(only)).back().first, "CAT ");
}

TEST(PreferencesFile, TheTargetFollowsItsSamplerPastDroppedRecords)
{
    SPreferences written;
    written.samplers = {Sampler(4001, "Unknown"), Sampler(kNewWindowModel, "Windows"), Sampler(4100, "My S3000")};
    written.application.values.transmitTarget = 2;
    SPreferences read;
    CRecordingSteps steps;
    ReadBack(Written(written), read, steps);
    ASSERT_EQ(read.samplers.size(), 2u);
    EXPECT_EQ(read.samplers[read.application.values.transmitTarget].userName, "My S3000");

    // A target that was itself dropped goes to the first sampler, not to
    // whichever moved into its place.
    written.application.values.transmitTarget = 0;
    SPreferences again;
    ReadBack(Written(written), again, steps);
    EXPECT_EQ(again.application.values.transmitTarget, 0);
}

TEST(PreferencesFile, DamagedFilesAreRefusedAsAWhole)
{
    std::vector<uint8_t> appended = Written(Unusual());
    appended.push_back(0);
    SPreferences read;
    CRecordingSteps steps;
    EXPECT_THROW(ReadBack(appended, read, steps), XInvalidPreferencesFile);
    EXPECT_EQ(read.sound.outputRate, 44100) << "nothing was read";

    std::vector<uint8_t> truncated = Written(Unusual());
    truncated.resize(truncated.size() - 3);
    EXPECT_THROW(ReadBack(truncated, read, steps), XInvalidPreferencesFile);

    std::vector<uint8_t> wrongType = Written(SPreferences{});
    wrongType[8] = 'X';
    EXPECT_THROW(ReadBack(wrongType, read, steps), XInvalidPreferencesFile);
    EXPECT_THROW(ReadBack({}, read, steps), XInvalidPreferencesFile);
}

// Replaces the payload size of the chunk `id` (and the group's size) so the
// file stays valid as a whole but the chunk has the wrong length.
std::vector<uint8_t> WithChunkResized(std::vector<uint8_t> b, const std::string& id, uint32_t newSize)
{
    size_t at = 12;
    while (std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4) != id) {
        const uint32_t size = BE32At(b, at + 4);
        at += 8 + size + (size & 1);
    }
    const uint32_t oldSize = BE32At(b, at + 4);
    const long payload = static_cast<long>(at + 8);
    const uint32_t oldSpan = oldSize + (oldSize & 1);
    std::vector<uint8_t> body(b.begin() + payload, b.begin() + payload + oldSize);
    body.resize(newSize, 0);
    if (newSize & 1)
        body.push_back(0);
    b.erase(b.begin() + payload, b.begin() + payload + oldSpan);
    b.insert(b.begin() + payload, body.begin(), body.end());
    for (int i = 0; i < 4; ++i)
        b[at + 4 + static_cast<size_t>(i)] = static_cast<uint8_t>(newSize >> (24 - 8 * i));
    const uint32_t group = static_cast<uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i)
        b[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(group >> (24 - 8 * i));
    return b;
}

TEST(PreferencesFile, DamagedChunksKeepTheirDefaultsAndAreReportedOnce)
{
    std::vector<uint8_t> bytes = WithChunkResized(Written(Unusual()), "PSNP", 203);
    bytes = WithChunkResized(bytes, "PDDP", 9);
    SPreferences read;
    CRecordingSteps steps;
    steps.existing = {"/music/a loop.qvl", "/music/b.wav"};
    const SPreferencesReadReport report = ReadBack(bytes, read, steps);
    EXPECT_TRUE(report.chunkFailed);
    EXPECT_EQ(steps.soundReads, 1) << "the card lookup still runs, with the defaults";
    EXPECT_EQ(read.sound.outputRate, 44100);
    EXPECT_TRUE(read.documentDefaults.values.separateSamples);
    EXPECT_EQ(read.documentDefaults.values.stretchIndex, 0);
    // The intact chunks are read all the same.
    EXPECT_EQ(read.application.values.brightness, 77);
    EXPECT_EQ(read.recentDocuments.paths.size(), 2u);
}

TEST(PreferencesFile, ListsAreCheckedAgainstTheSystem)
{
    SPreferences written = Unusual();
    written.customColors.colors.resize(12, SRGBColor{1, 1, 1});
    written.samplers.push_back(Sampler(4001, "Unknown model"));
    written.application.values.transmitTarget = 5;
    SPreferences read;
    read.customColors.colors[0] = {9, 9, 9};
    CRecordingSteps steps;
    steps.existing = {"/music/b.wav"};
    const SPreferencesReadReport report = ReadBack(Written(written), read, steps);
    EXPECT_FALSE(report.chunkFailed);
    EXPECT_TRUE(report.recentDocumentsDropped);
    EXPECT_EQ(read.recentDocuments.paths, std::vector<std::string>{"/music/b.wav"});
    EXPECT_EQ(read.customColors.colors.size(), 16u) << "12 colours are read but not used";
    EXPECT_EQ(read.customColors.colors[0], (SRGBColor{9, 9, 9}));
    EXPECT_EQ(steps.unsupported, std::vector<uint32_t>{4001});
    EXPECT_EQ(read.samplers.size(), 2u);
    EXPECT_EQ(read.application.values.transmitTarget, 0) << "past the installed samplers";
}

TEST(PreferencesFile, RecentDocumentsOfAnotherPlatformAreIgnored)
{
    CLRUDocsPreferences recent;
    recent.paths = {"/a.wav"};
    std::vector<uint8_t> bytes = recent.Bytes();
    bytes[2] = 'L';
    CLRUDocsPreferences read;
    read.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_TRUE(read.paths.empty());
    // A record length reaching past the chunk is damage, not a long path.
    bytes = recent.Bytes();
    bytes[6] = 200;
    EXPECT_THROW(read.Read(bytes.data(), static_cast<uint32_t>(bytes.size())), XInvalidPreferencesChunk);
}

TEST(PreferencesFile, EmptySamplerGroupIsADamagedChunk)
{
    SPreferences p;
    std::vector<uint8_t> bytes = Written(p);
    const uint8_t empty[] = {'C', 'A', 'T', ' ', 0, 0, 0, 4, 'I', 'S', 'R', 'G'};
    bytes.insert(bytes.end(), std::begin(empty), std::end(empty));
    const uint32_t group = static_cast<uint32_t>(bytes.size() - 8);
    for (int i = 0; i < 4; ++i)
        bytes[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(group >> (24 - 8 * i));
    SPreferences read;
    CRecordingSteps steps;
    EXPECT_TRUE(ReadBack(bytes, read, steps).chunkFailed);
}

// Reads the settings a damaged file still holds.
SPreferencesReadReport Salvage(std::vector<uint8_t> bytes, SPreferences& into, CRecordingSteps& steps)
{
    CMemoryMedia media(bytes.data(), static_cast<int32_t>(bytes.size()));
    return SalvagePreferences(media, into, steps);
}

std::vector<uint8_t> WithStoredSize(std::vector<uint8_t> b, const std::string& id, uint32_t size)
{
    const std::string text(b.begin(), b.end());
    const size_t at = text.find(id);
    for (int i = 0; i < 4; ++i)
        b[at + 4 + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (24 - 8 * i));
    return b;
}

TEST(PreferencesFile, AFileOffByOneByteGivesUpOnlyWhatItLost)
{
    const SPreferences written = Unusual();
    const auto expectAllBut = [&](const std::vector<uint8_t>& bytes, const std::string& lost) {
        SPreferences read;
        CRecordingSteps steps;
        steps.existing = {"/music/a loop.qvl", "/music/b.wav"};
        const SPreferencesReadReport report = Salvage(bytes, read, steps);
        EXPECT_TRUE(report.fileUnreadable);
        EXPECT_EQ(steps.soundReads, 1);
        EXPECT_EQ(read.sound.outputRate == 48000, lost != "PSNP") << lost;
        // Without its second sampler the target (1) falls back to the first.
        CQuorvelApplicationPreferences application = written.application;
        application.values.transmitTarget = lost == "SPLR" ? 0 : 1;
        EXPECT_EQ(read.application.Bytes() == application.Bytes(), lost != "PARP") << lost;
        EXPECT_EQ(read.documentDefaults.Bytes() == written.documentDefaults.Bytes(), lost != "PDDP") << lost;
        EXPECT_EQ(read.recentDocuments.paths, written.recentDocuments.paths) << lost;
        EXPECT_EQ(read.customColors.colors, written.customColors.colors) << lost;
        EXPECT_EQ(read.samplers.size(), lost == "SPLR" ? 1u : 2u) << lost;
        EXPECT_EQ(read.samplers[0], written.samplers[0]) << lost;
    };

    std::vector<uint8_t> appended = Written(written);
    appended.push_back(0);
    expectAllBut(appended, "");

    std::vector<uint8_t> cut = Written(written);
    cut.pop_back(); // the pad byte after the last sampler record
    expectAllBut(cut, "");
    cut.pop_back(); // and the record's last byte
    expectAllBut(cut, "SPLR");

    // A chunk size one short puts every later header one byte early; one
    // long, one byte late.
    expectAllBut(WithStoredSize(Written(written), "PARP", 16), "PARP");
    expectAllBut(WithStoredSize(Written(written), "PSNP", 205), "PSNP");
    expectAllBut(WithStoredSize(Written(written), "PDDP", 6), "PDDP");

    // Nothing recognisable: every setting keeps its value.
    SPreferences read;
    CRecordingSteps steps;
    EXPECT_FALSE(Salvage(std::vector<uint8_t>(5000, 0xA5), read, steps).chunkFailed);
    EXPECT_EQ(read.application.Bytes(), SPreferences{}.application.Bytes());
    EXPECT_TRUE(read.samplers.empty());
}

TEST(PreferencesFile, AnUnreadableFileIsKeptBeforeAnythingIsWrittenOverIt)
{
    test::TempFolder folder;
    const CFileSpec file(folder / "Quorvel Preferences.prf");
    std::vector<uint8_t> damaged = Written(Unusual());
    damaged.push_back(0);
    test::WriteBytes(file.FullPath(), damaged);

    SPreferences read;
    CRecordingSteps steps;
    SPreferencesReadReport report = ReadPreferencesFile(file, read, steps);
    EXPECT_TRUE(report.fileUnreadable);
    EXPECT_EQ(report.backupPath, file.FullPath() + ".bak");
    EXPECT_EQ(test::ReadBytes(report.backupPath), damaged);
    EXPECT_EQ(read.application.values.brightness, 77) << "what could be read is used";

    // Quitting writes what the program holds; the copy stays as it was.
    SavePreferences(file, read);
    EXPECT_EQ(test::ReadBytes(file.FullPath() + ".bak"), damaged);
    SPreferences reread;
    EXPECT_FALSE(ReadPreferencesFile(file, reread, steps).fileUnreadable);
    EXPECT_EQ(reread.application.values.brightness, 77);

    // The same damage again reuses its copy; other damage gets its own.
    test::WriteBytes(file.FullPath(), damaged);
    EXPECT_EQ(ReadPreferencesFile(file, reread, steps).backupPath, file.FullPath() + ".bak");
    std::vector<uint8_t> other = damaged;
    other.push_back(1);
    test::WriteBytes(file.FullPath(), other);
    EXPECT_EQ(ReadPreferencesFile(file, reread, steps).backupPath, file.FullPath() + ".bak2");

    // Saving over a damaged file nobody read keeps it too.
    const std::vector<uint8_t> third(100, 7);
    test::WriteBytes(file.FullPath(), third);
    SavePreferences(file, SPreferences{});
    EXPECT_EQ(test::ReadBytes(file.FullPath() + ".bak3"), third);
    EXPECT_EQ(folder.Names().size(), 4u);
}

TEST(PreferencesFile, AFailedWriteKeepsThePreviousFile)
{
    test::TempFolder folder;
    const CFileSpec file(folder / "Quorvel Preferences.prf");
    SavePreferences(file, Unusual());
    const std::vector<uint8_t> before = test::ReadBytes(file.FullPath());

    // A file-size limit below the new file's size makes the write fail the
    // way a full disk does, for any user.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &tiny);
    EXPECT_ANY_THROW(SavePreferences(file, SPreferences{}));
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(test::ReadBytes(file.FullPath()), before);
    EXPECT_EQ(folder.Names().size(), 1u) << "no temporary file left behind";
}

} // namespace
} // namespace quorvel
