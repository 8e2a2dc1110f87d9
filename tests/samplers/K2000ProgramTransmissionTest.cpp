// A sliced loop to a K2000 as sound blocks, a keymap and a program, against
// an object memory without a connection: what is written, in what order,
// the questions asked, what a template lends, what a replace deletes and
// what a failure leaves behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/SliceSet.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/SamplerInterface.h"
#include "samplers/kurzweil/K2000ProgramTransmission.h"
#include "samplers/kurzweil/K2000SoundBlock.h"

#include "../common/SlicedSound.h"
#include "FakeKurzweilObjects.h"

namespace quorvel::k2000 {
namespace {

using test::FakeKurzweilObjects;

constexpr uint16_t kProgram = 132, kKeymap = 133, kBlock = 134;

// Reserves a block id near the bank, takes the words, names the block like the sampler's own
// transmitter does.
class BlockTransmitter : public CABCSampleTransmitter {
public:
    BlockTransmitter(FakeKurzweilObjects& objects, int32_t bank, std::function<void()> fail)
        : objects_(objects), bank_(bank), fail_(std::move(fail))
    {
    }
    ~BlockTransmitter() override { StopQuietly(); }
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t) override
    {
        fail_();
        CK2000SoundBlock block(static_cast<uint16_t>(bank_ * 100));
        block.SetFromSampleInfo(info);
        SetResultSampleNumber(objects_.Write(block, EKurzweilWriteMode::NewObject, 1000, 4000));
        name_ = std::string(info.Name());
        wordsPerFrame = 1;
        Activate(64);
    }
    void TransmitChunk(uint32_t frames, SSampleWords) override
    {
        if (FramesDone() == FramesTotal()) {
            objects_.Rename(kBlock, static_cast<uint16_t>(GetResultSampleNumber()),
                            static_cast<uint16_t>(GetResultSampleNumber()), name_, 4000);
            FinishTransmission();
            return;
        }
        AdvanceDone(frames);
    }

private:
    FakeKurzweilObjects& objects_;
    int32_t bank_;
    std::function<void()> fail_;
    std::string name_;
};

class FakeK2000 : public CABCSamplerInterface {
public:
    explicit FakeK2000(FakeKurzweilObjects& objects) : objects_(objects) {}
    int failOnSlice = -1;

    std::unique_ptr<CABCSampleTransmitter> CreateMonoTransmitter(int32_t bank) override
    {
        const int slice = made_++;
        banks.push_back(bank);
        return std::make_unique<BlockTransmitter>(objects_, bank, [this, slice] {
            if (slice == failOnSlice)
                throw XSamplerException();
        });
    }
    void GetSampleInfo(SampleInfo&, int32_t) override {}
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t) override { return nullptr; }
    void DeleteSample(int32_t) override {}
    void AdaptSampleInfo(SampleInfo&) override {}
    void GetCapabilities(SamplerCapabilities&) override {}
    void FillSampleList(int32_t, CSampleList&, uint32_t) override {}

    std::vector<int32_t> banks;

private:
    FakeKurzweilObjects& objects_;
    int made_ = 0;
};

class QuietProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

struct Questions : CABCK2000TransmitQuestions {
    std::vector<std::string> asked;
    bool replace = true;
    bool useDefaults = true;
    bool acceptLimit = true;
    QuietProgress progress;

    int ConfirmSliceCount(int count, int maximum) override
    {
        if (count <= maximum)
            return count;
        asked.push_back("limit " + std::to_string(count) + " " + std::to_string(maximum));
        if (!acceptLimit)
            throw XSampleTransmitCancelled();
        return maximum;
    }
    bool ReplaceProgram(uint16_t id, const std::string& name) override
    {
        asked.push_back("replace " + std::to_string(id) + " " + name);
        return replace;
    }
    bool UseDefaults(EK2000TemplateProblem problem) override
    {
        asked.push_back("defaults " + std::to_string(static_cast<int>(problem)));
        return useDefaults;
    }
    CABCTransferProgress& SampleProgress(int) override { return progress; }
};

class K2000ProgramTransmissionTest : public ::testing::Test {
protected:
    // Three slices of 100 frames, or `count`.
    SK2000TransmitResult Send(SK2000TransmitSettings settings, int count = 3)
    {
        std::vector<int32_t> cuts;
        for (int k = 0; k < count; ++k)
            cuts.push_back(k * 100);
        sound_ = test::MakeSlicedSound(count * 100, cuts);
        job_ = std::make_unique<CExportJob>(*sound_->sound, sound_->slices, 0, count * 100, 1000, false, false, true,
                                            OutputTempoSettings{});
        return transmission.Run(*job_, settings);
    }
    static SK2000TransmitSettings To(int id, std::optional<uint16_t> templateId = std::nullopt)
    {
        SK2000TransmitSettings settings;
        settings.programId = id;
        settings.programName = "  Break  ";
        settings.templateId = templateId;
        return settings;
    }
    size_t Logged(const std::string& line) const
    {
        return static_cast<size_t>(std::find(objects.log.begin(), objects.log.end(), line) - objects.log.begin());
    }

    FakeKurzweilObjects objects;
    FakeK2000 sampler{objects};
    Questions questions;
    CK2000ProgramTransmission transmission{sampler, objects, questions};
    std::unique_ptr<test::SlicedSound> sound_;
    std::unique_ptr<CExportJob> job_;
};

TEST_F(K2000ProgramTransmissionTest, WithDefaultsTheSlicesBecomeBlocksAKeymapFromTheStartKeyAndAProgram)
{
    const SK2000TransmitResult result = Send(To(250));
    EXPECT_EQ(questions.asked, std::vector<std::string>{"defaults 0"}) << "no template named: asked";
    ASSERT_EQ(result.slices.size(), 3u);
    EXPECT_EQ(sampler.banks, (std::vector<int32_t>{2, 2, 2}));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(result.slices[k].soundBlock, 200 + k);
        EXPECT_EQ(result.slices[k].key, 36 + k);
        EXPECT_EQ(result.slices[k].frames, 100u);
        EXPECT_TRUE(objects.Has(kBlock, static_cast<uint16_t>(200 + k)));
    }
    EXPECT_EQ(objects.objects.at({kBlock, 200}).name, "Loop 01");

    const CK2000Keymap keymap = objects.Get<CK2000Keymap>(250);
    EXPECT_EQ(result.keymapId, 250);
    EXPECT_EQ(objects.objects.at({kKeymap, 250}).name, "Break");
    for (int key = 0; key < 128; ++key) {
        const int index = keymap.EntryIndexOfKey(key);
        if (index < 0)
            continue;
        const SK2000KeymapEntry entry = keymap.LevelTable(7)[static_cast<size_t>(index)];
        const bool placed = key >= 36 && key < 39;
        EXPECT_EQ(entry.soundBlock, placed ? 200 + key - 36 : 0) << key;
        EXPECT_EQ(entry.last, placed ? 1 : 0) << key;
    }

    const CK2000Program program = objects.Get<CK2000Program>(250);
    ASSERT_EQ(program.Layers().size(), 1u);
    EXPECT_EQ(CK2000Program::KeymapOf(program.Layers().front()), 250);
    EXPECT_EQ(program.CommonPart(), CK2000Program::DefaultCommon());
    EXPECT_EQ(result.programName, "Break");
    EXPECT_LT(Logged("write 134:200"), Logged("write 133:250"));
    EXPECT_LT(Logged("write 133:250"), Logged("write 132:250")) << "the program last, once its keymap is there";
    EXPECT_FALSE(transmission.LeftUnassigned());
}

TEST_F(K2000ProgramTransmissionTest, ATemplateLendsItsCommonValuesFirstLayerAndEntrySettings)
{
    CK2000Program model(5, "Template");
    model.CommonPart()[5] = 99;
    model.Layers().push_back(CK2000Program::DefaultLayer());
    model.Layers()[0][150] = 0x77;
    CK2000Program::SetKeymap(model.Layers()[0], 6);
    objects.Put(model);
    CK2000Keymap keymap(6);
    keymap.LevelTable(7)[40] = {0x0102, 0x33, 17, 1};
    objects.Put(keymap);

    const SK2000TransmitResult result = Send(To(300, 5));
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_TRUE(result.usedTemplate);
    const CK2000Program program = objects.Get<CK2000Program>(300);
    ASSERT_EQ(program.Layers().size(), 1u) << "only the first layer";
    EXPECT_EQ(program.CommonPart()[5], 99);
    EXPECT_EQ(program.Layers()[0][150], 0x77);
    EXPECT_EQ(CK2000Program::KeymapOf(program.Layers()[0]), 300);
    const SK2000KeymapEntry entry = objects.Get<CK2000Keymap>(300).LevelTable(7)[24];
    EXPECT_EQ(entry, (SK2000KeymapEntry{0x0102, 0x33, 300, 1}));
    EXPECT_TRUE(objects.Has(kProgram, 5)) << "the template stays";
}

TEST_F(K2000ProgramTransmissionTest, WithoutATemplateTheDefaultsAreOfferedForTheRightReason)
{
    Send(To(301, 44));
    objects.fault = [](const std::string& line) {
        if (line == "read 132:45")
            throw XSysexTimedOut();
    };
    objects.Put(CK2000Program(45));
    Send(To(302, 45));
    EXPECT_EQ(questions.asked, (std::vector<std::string>{"defaults 1", "defaults 2"})) << "missing, then unreadable";

    questions.useDefaults = false;
    objects.log.clear();
    EXPECT_THROW(Send(To(303)), XSampleTransmitCancelled);
    EXPECT_EQ(std::count_if(objects.log.begin(), objects.log.end(),
                            [](const std::string& l) { return l.rfind("write", 0) == 0; }),
              0);
}

TEST_F(K2000ProgramTransmissionTest, ReplacingDeletesTheProgramItsKeymapAndItsBlocksFirst)
{
    CK2000Program old(120, "Old");
    CK2000Program::SetKeymap(old.Layers()[0], 121);
    objects.Put(old);
    CK2000Keymap oldKeymap(121);
    oldKeymap.LevelTable(0)[10].soundBlock = 7;
    oldKeymap.LevelTable(0)[11].soundBlock = 8;
    objects.Put(oldKeymap);
    objects.Put(CK2000SoundBlock(7));
    objects.Put(CK2000SoundBlock(8));
    objects.Put(CK2000SoundBlock(9));

    questions.replace = false;
    EXPECT_THROW(Send(To(120)), XSampleTransmitCancelled);
    EXPECT_EQ(questions.asked, std::vector<std::string>{"replace 120 Old"});
    EXPECT_TRUE(objects.Has(kBlock, 7) && objects.Has(kProgram, 120)) << "declined: nothing deleted";

    questions.replace = true;
    objects.fault = [](const std::string& line) {
        if (line == "delete 134:8 20000")
            throw XKurzweilRejected(); // a factory block
    };
    Send(To(120));
    EXPECT_FALSE(objects.Has(kKeymap, 121));
    EXPECT_FALSE(objects.Has(kBlock, 7));
    EXPECT_TRUE(objects.Has(kBlock, 8)) << "refused, and the transmission went on";
    EXPECT_TRUE(objects.Has(kBlock, 9)) << "not in the keymap";
    EXPECT_LT(Logged("delete 132:120 4000"), Logged("delete 133:121 4000"));
    EXPECT_LT(Logged("delete 134:7 20000"), Logged("write 134:100"));
    EXPECT_EQ(CK2000Program::KeymapOf(objects.Get<CK2000Program>(120).Layers()[0]), 120);
}

TEST_F(K2000ProgramTransmissionTest, SettingsAreCheckedBeforeAnythingIsAskedAndTheLimitIsTheKeysLeft)
{
    SK2000TransmitSettings settings = To(1);
    settings.programId.reset();
    EXPECT_THROW(Send(settings), XK2000ProgramIdMissing);
    EXPECT_THROW(Send(To(0)), XK2000ProgramIdOutOfRange);
    EXPECT_THROW(Send(To(1000)), XK2000ProgramIdOutOfRange);
    settings = To(1);
    settings.programName = "   ";
    EXPECT_THROW(Send(settings), XK2000ProgramNameMissing);
    settings = To(1);
    settings.startKey = 11;
    EXPECT_THROW(Send(settings), XK2000StartKeyOutOfRange) << "no keymap entry below key 12";
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_TRUE(objects.log.empty());

    EXPECT_EQ(SliceLimit(36), 92);
    EXPECT_EQ(SliceLimit(127), 1);
    settings = To(400);
    settings.startKey = 125;
    const SK2000TransmitResult result = Send(settings, 5);
    EXPECT_EQ(questions.asked.front(), "limit 5 3");
    ASSERT_EQ(result.slices.size(), 3u);
    EXPECT_EQ(result.slices.back().key, 127);
    EXPECT_EQ(objects.Get<CK2000Keymap>(400).LevelTable(7)[115].soundBlock, result.slices.back().soundBlock);

    questions.acceptLimit = false;
    objects.log.clear();
    EXPECT_THROW(Send(settings, 5), XSampleTransmitCancelled);
    EXPECT_TRUE(objects.log.empty());
}

TEST_F(K2000ProgramTransmissionTest, AFailureAfterABlockArrivedLeavesItUnassigned)
{
    sampler.failOnSlice = 0;
    EXPECT_THROW(Send(To(500)), XSamplerException);
    EXPECT_FALSE(transmission.LeftUnassigned()) << "nothing arrived";

    sampler.failOnSlice = 2; // the second transmission's second slice
    EXPECT_THROW(Send(To(501)), XSamplerException);
    EXPECT_TRUE(transmission.LeftUnassigned());
    EXPECT_FALSE(objects.Has(kKeymap, 501));

    objects.fault = [](const std::string& line) {
        if (line == "write 132:502")
            throw XKurzweilOutOfMemory();
    };
    sampler.failOnSlice = -1;
    EXPECT_THROW(Send(To(502)), XKurzweilOutOfMemory);
    EXPECT_TRUE(transmission.LeftUnassigned()) << "the keymap is there, no program plays it";
}

} // namespace
} // namespace quorvel::k2000
