// The document file: exact record layout, save/reopen fidelity, the
// damaged / newer fall-backs, and saves that fail without losing anything.
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../common/TempFolder.h"
#include "TestFiles.h"
#include "document/BAT.h"
#include "fileformats/ByteOrder.h"
#include "fileformats/DocumentFile.h"
#include "fileformats/FormatExceptions.h"
#include "framework/FileSpec.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::unique_ptr<CSoundDocument> AnalysedLoop(int32_t bars = 2, int32_t rate = 44100)
{
    loopgen::LoopSpec recipe;
    recipe.bars = bars;
    recipe.sampleRate = rate;
    auto sound = loopgen::MakeWaveSample(loopgen::GenerateDrumLoop(recipe), "loop.wav");
    return std::make_unique<CSoundDocument>(std::move(sound), DefaultDocumentOptions{}, false);
}

OpenedDocument Open(const std::string& path)
{
    return OpenSoundOrDocument(CFileSpec(path), ChannelMode::Mix, DefaultDocumentOptions{}, false);
}

// Offset of the "APPL" payload inside a file this program wrote.
size_t AppPayloadOffset(const std::vector<uint8_t>& file)
{
    for (size_t p = 12; p + 8 <= file.size();) {
        const uint32_t size = GetBE32(&file[p + 4]);
        if (std::memcmp(&file[p], "APPL", 4) == 0)
            return p + 8;
        p += 8 + size + (size & 1);
    }
    ADD_FAILURE() << "no APPL chunk";
    return 0;
}

TEST(DocumentAppChunk, LayoutOfSettingsAndSliceRecords)
{
    DocumentAppChunk chunk;
    chunk.settings.numerator = 7;
    chunk.settings.denominator = 8;
    chunk.settings.bars = 300; // above one byte: low byte at 12, high byte at 26
    chunk.settings.beats = 5;
    chunk.settings.newTempo = 85500;
    chunk.settings.separateSamples = false;
    chunk.settings.pitchMode = true;
    chunk.settings.stretchIndex = 13;
    chunk.settings.sensitivity = 820;
    chunk.slices = {{2, true, 0x01020304, 32767}, {1, false, 70000, 6144}};
    const auto bytes = EncodeDocumentAppChunk(chunk);

    ASSERT_EQ(bytes.size(), 8164u);
    EXPECT_EQ(std::memcmp(bytes.data(), "Qvrl\xD1\xDA\xDE\xD0\x01\x00\x07\x08", 12), 0);
    EXPECT_EQ(bytes[12], 300 & 0xFF);
    EXPECT_EQ(bytes[26], 1);
    EXPECT_EQ(bytes[13], 5);
    EXPECT_EQ(GetBE32(&bytes[14]), 85500u);
    EXPECT_EQ(bytes[19], 0);
    EXPECT_EQ(bytes[21], 1);
    EXPECT_EQ(GetBE16(&bytes[22]), 13);
    EXPECT_EQ(GetBE16(&bytes[24]), 820);
    EXPECT_EQ(GetBE16(&bytes[162]), 2);
    const uint8_t first[8] = {0x82, 0x01, 0x02, 0x03, 0x04, 0x00, 0x7F, 0xFF};
    EXPECT_EQ(std::memcmp(&bytes[164], first, 8), 0);
    EXPECT_EQ(bytes[172], 0x01);
    for (size_t i = 180; i < bytes.size(); ++i)
        ASSERT_EQ(bytes[i], 0) << "record area past the slices must be zero at " << i;
}

TEST(DocumentAppChunk, VersionCheckAcceptsOlderRefusesNewer)
{
    auto bytes = EncodeDocumentAppChunk(DocumentAppChunk{});
    bytes[8] = 0;
    bytes[9] = 9; // 0.9
    EXPECT_NO_THROW(DecodeDocumentAppChunk(bytes.data(), 8164, 100));
    bytes[8] = 1;
    bytes[9] = 1; // 1.1
    EXPECT_THROW(DecodeDocumentAppChunk(bytes.data(), 8164, 100), XUnsupportedFormat);
}

TEST(DocumentAppChunk, DamagedRecordsAreRefused)
{
    DocumentAppChunk chunk;
    chunk.slices = {{0, false, 10, 100}, {0, false, 20, 100}};
    const auto good = EncodeDocumentAppChunk(chunk);
    auto decode = [](std::array<uint8_t, 8164> bytes, int32_t size = 8164, int32_t length = 100) {
        return DecodeDocumentAppChunk(bytes.data(), size, length);
    };
    EXPECT_EQ(decode(good).slices.size(), 2u);

    auto bad = good;
    bad[0] = 'X'; // signature
    EXPECT_THROW(decode(bad), XBadFormat);
    bad = good;
    bad[7] ^= 1; // magic
    EXPECT_THROW(decode(bad), XBadFormat);
    bad = good;
    PutBE16(&bad[162], 1001); // more slices than a list holds
    EXPECT_THROW(decode(bad), XBadFormat);
    EXPECT_THROW(decode(good, 164 + 8), XBadFormat); // shorter than two records
    EXPECT_THROW(decode(good, 100), XBadFormat);     // shorter than the settings
    EXPECT_THROW(decode(good, 8164, 20), XBadFormat); // slice at the sound's end
    bad = good;
    bad[164] = 3; // no such state
    EXPECT_THROW(decode(bad), XBadFormat);
    bad = good;
    PutBE32(&bad[173], 5); // second slice before the first
    EXPECT_THROW(decode(bad), XBadFormat);
}

TEST(DocumentFile, SaveAndReopenRestoresEverySettingAndSlice)
{
    TempFolder folder;
    std::mt19937 random(7);
    for (int round = 0; round < 8; ++round) {
        auto document = AnalysedLoop(1 + round % 3);
        ASSERT_GT(document->Slices().Count(), 4);
        CSliceList& slices = document->Slices();
        for (int i = 0; i < slices.Count(); ++i) {
            slices.At(i).state = static_cast<SliceState>(random() % 3);
            slices.At(i).selected = random() % 2;
        }
        const int32_t length = document->Sound()->Length();
        document->SetLocators(static_cast<int32_t>(random() % 1000), length - static_cast<int32_t>(random() % 1000));
        document->SetSensitivity(static_cast<int32_t>(random() % 1000));
        document->SetBars(static_cast<int32_t>(random() % 667));
        document->SetBeats(static_cast<int32_t>(random() % 8));
        document->SetTimeSignatureIndex(static_cast<int>(random() % 6));
        document->SetNewTempo(1 + static_cast<int32_t>(random() % 999999));
        document->SetStretchIndex(static_cast<int32_t>(random() % 14));
        document->SetTransmitNormalized(random() % 2);
        document->SetSilenceSelected(random() % 2);
        document->SetPitchMode(random() % 2);
        document->SetSeparateSamples(random() % 2);
        document->RefreshTempo();

        const std::string path = folder / ("doc" + std::to_string(round) + ".qvl");
        SaveDocument(*document, CFileSpec(path));
        EXPECT_FALSE(document->Modified());
        EXPECT_EQ(document->DocumentFile(), path);

        const OpenedDocument reopened = Open(path);
        ASSERT_EQ(reopened.alert, 0);
        const CSoundDocument& back = *reopened.document;
        EXPECT_EQ(back.Sensitivity(), document->Sensitivity());
        EXPECT_EQ(back.Bars(), document->Bars());
        EXPECT_EQ(back.Beats(), document->Beats());
        EXPECT_EQ(back.TimeSignatureIndex(), document->TimeSignatureIndex());
        EXPECT_EQ(back.NewTempo(), document->NewTempo());
        EXPECT_EQ(back.Tempo(), document->Tempo());
        EXPECT_EQ(back.StretchIndex(), document->StretchIndex());
        EXPECT_EQ(back.TransmitNormalized(), document->TransmitNormalized());
        EXPECT_EQ(back.SilenceSelected(), document->SilenceSelected());
        EXPECT_EQ(back.PitchMode(), document->PitchMode());
        EXPECT_EQ(back.SeparateSamples(), document->SeparateSamples());
        EXPECT_EQ(back.Sound()->LoopStart(), document->Sound()->LoopStart());
        EXPECT_EQ(back.Sound()->LoopEnd(), document->Sound()->LoopEnd());
        EXPECT_EQ(back.Sound()->SampleRate(), document->Sound()->SampleRate());
        EXPECT_FALSE(back.Modified());
        EXPECT_EQ(back.WindowTitle().find('*'), std::string::npos);
        ASSERT_EQ(back.Slices().Count(), slices.Count());
        for (int i = 0; i < slices.Count(); ++i) {
            const CSlice& a = slices.At(i);
            const CSlice& b = back.Slices().At(i);
            EXPECT_EQ(b.position, a.position);
            EXPECT_EQ(b.strength, a.strength);
            EXPECT_EQ(b.state, a.state);
            EXPECT_EQ(b.selected, a.selected);
            EXPECT_EQ(b.aboveThreshold, a.aboveThreshold);
        }
        ASSERT_EQ(back.Sound()->Length(), length);
        for (int32_t i = 0; i < length; i += 97)
            ASSERT_EQ(back.Sound()->Value(i), document->Sound()->Value(i)) << "frame " << i;
    }
}

TEST(DocumentFile, DocumentIsAPlainAiffOtherProgramsRead)
{
    TempFolder folder;
    auto document = AnalysedLoop(1, 22050);
    const std::string path = folder / "loop.qvl";
    SaveDocument(*document, CFileSpec(path));

    const std::string raw = folder / "loop.raw";
    ASSERT_EQ(std::system(("sox -t aiff '" + path + "' -t raw -e signed -b 16 -L '" + raw + "' 2>/dev/null").c_str()), 0);
    const auto values = ReadBytes(raw);
    const WAVE_SAMPLE& sound = *document->Sound();
    ASSERT_EQ(values.size(), size_t(sound.Length()) * 2);
    for (int32_t i = 0; i < sound.Length(); ++i)
        ASSERT_EQ(static_cast<int16_t>(GetLE16(&values[2 * size_t(i)])), sound.Value(i)) << "frame " << i;

    const std::string info = folder / "info.txt";
    ASSERT_EQ(std::system(("sndfile-info '" + path + "' > '" + info + "' 2>&1").c_str()), 0);
    const auto text = ReadBytes(info);
    const std::string report(text.begin(), text.end());
    EXPECT_NE(report.find("Frames      : " + std::to_string(sound.Length())), std::string::npos) << report;
    EXPECT_NE(report.find("Sample Rate : 22050"), std::string::npos) << report;
}

TEST(DocumentFile, DamagedOrNewerDocumentsOpenAsPlainSounds)
{
    TempFolder folder;
    auto document = AnalysedLoop();
    document->SetBars(3);
    document->Slices().At(0).state = SliceState::Locked;
    const std::string path = folder / "loop.qvl";
    SaveDocument(*document, CFileSpec(path));
    const auto saved = ReadBytes(path);
    const size_t app = AppPayloadOffset(saved);

    auto newer = saved;
    newer[app + 9] = 1; // version 1.1
    WriteBytes(folder / "newer.qvl", newer);
    OpenedDocument opened = Open(folder / "newer.qvl");
    EXPECT_EQ(opened.alert, 28);
    EXPECT_EQ(opened.document->Bars(), 0) << "a plain sound takes the defaults";
    EXPECT_EQ(opened.document->Slices().At(0).state, SliceState::Normal) << "slices come from a new analysis";
    EXPECT_FALSE(opened.document->DocumentFile().has_value());

    auto damaged = saved;
    damaged[app + 5] ^= 0xFF; // magic
    WriteBytes(folder / "damaged.qvl", damaged);
    opened = Open(folder / "damaged.qvl");
    EXPECT_EQ(opened.alert, 27);
    EXPECT_EQ(opened.document->Sound()->Length(), document->Sound()->Length());

    // A plain AIFF given the document extension.
    ASSERT_EQ(std::system(("sox -t aiff '" + path + "' -t aiff '" + (folder / "plain.qvl") + "'").c_str()), 0);
    EXPECT_EQ(Open(folder / "plain.qvl").alert, 27);

    // The same bytes under a sound-file name are simply a sound.
    WriteBytes(folder / "newer.aif", newer);
    EXPECT_EQ(Open(folder / "newer.aif").alert, 0);
}

TEST(DocumentFile, ZeroSlicesAndWideBarsSurvive)
{
    TempFolder folder;
    auto document = AnalysedLoop();
    document->Slices().Reset();
    document->SetBars(666);
    document->SetTimeSignatureIndex(4); // 6/8
    const std::string path = folder / "empty.qvl";
    SaveDocument(*document, CFileSpec(path));
    const auto bytes = ReadBytes(path);
    const size_t app = AppPayloadOffset(bytes);
    EXPECT_EQ(GetBE16(&bytes[app + 162]), 0);
    const OpenedDocument back = Open(path);
    EXPECT_EQ(back.document->Slices().Count(), 0);
    EXPECT_EQ(back.document->Bars(), 666);
    EXPECT_EQ(back.document->Numerator(), 6);
    EXPECT_EQ(back.document->Denominator(), 8);
}

// A media that accepts `budget` bytes and then fails every write.
class FailingMedia : public CMemoryMedia {
public:
    explicit FailingMedia(int32_t budget) : CMemoryMedia(1 << 22), budget_(budget) {}
    void Write(int32_t count, const void* buffer) override
    {
        if ((budget_ -= count) < 0)
            throw XWrite();
        CMemoryMedia::Write(count, buffer);
    }

private:
    int32_t budget_;
};

TEST(DocumentFile, FailedWriteLeavesTheSoundIntact)
{
    auto document = AnalysedLoop();
    const WAVE_SAMPLE& sound = *document->Sound();
    std::vector<int16_t> before(static_cast<size_t>(sound.Length()));
    for (int32_t i = 0; i < sound.Length(); ++i)
        before[size_t(i)] = sound.Value(i);
    FailingMedia media(30000); // fails inside the sample data
    EXPECT_THROW(WriteDocument(media, *document), XBase);
    for (int32_t i = 0; i < sound.Length(); ++i)
        ASSERT_EQ(sound.Value(i), before[size_t(i)]) << "frame " << i;
}

TEST(DocumentFile, FailedSaveKeepsThePreviousDocumentByteForByte)
{
    TempFolder folder;
    const std::string path = folder / "keep.qvl";
    auto document = AnalysedLoop(1);
    SaveDocument(*document, CFileSpec(path));
    const auto previous = ReadBytes(path);

    // The child saves a longer loop with a file-size limit that makes the
    // write fail half-way, as a full disk would.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        auto longer = AnalysedLoop(4);
        longer->SetBars(2); // an unsaved change
        const rlimit limit{static_cast<rlim_t>(previous.size()), static_cast<rlim_t>(previous.size())};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            SaveDocument(*longer, CFileSpec(path));
        } catch (const XBase&) {
            _exit(longer->Modified() && !longer->DocumentFile() ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save reported success; 2: the document forgot it was unsaved";
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.qvl"}) << "no temporary file may be left behind";

    // A folder that does not exist fails before anything is written.
    EXPECT_THROW(SaveDocument(*document, CFileSpec(folder / "missing/doc.qvl")), XBase);
}

} // namespace
} // namespace quorvel
