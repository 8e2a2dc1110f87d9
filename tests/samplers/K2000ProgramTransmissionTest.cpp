// A sliced loop to a K2000 as sound blocks, a keymap and a program, against
// an object memory without a connection: what is written and in what order,
// what a template lends, what a replace deletes and what a failure leaves.
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

constexpr uint16_t kProgram = 132, kKeymap = 133, kBlock = 134;

// Writes a block from the bank on, takes the words and names the block, as the sampler's own
// transmitter does; `fail` may throw before anything is written.
class BlockTransmitter : public CABCSampleTransmitter {
public:
    BlockTransmitter(test::FakeKurzweilObjects& objects, int32_t bank, std::function<void()> fail)
        : objects_(objects), bank_(bank), fail_(std::move(fail))
    {
    }
    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t) override
    {
        fail_();
        CK2000SoundBlock block(static_cast<uint16_t>(bank_ * 100));
        SetResultSampleNumber(objects_.Write(block, EKurzweilWriteMode::NewObject, 1000, 4000));
        objects_.Rename(kBlock, block.Id(), block.Id(), std::string(info.Name()), 4000);
        wordsPerFrame = 1;
        Activate(info.length);
    }
    void TransmitChunk(uint32_t frames, SSampleWords) override
    {
        AdvanceDone(frames);
        if (frames == 0)
            FinishTransmission();
    }

private:
    test::FakeKurzweilObjects& objects_;
    int32_t bank_;
    std::function<void()> fail_;
};

class FakeK2000 : public CABCSamplerInterface {
public:
    explicit FakeK2000(test::FakeKurzweilObjects& objects) : objects_(objects) {}
    std::unique_ptr<CABCSampleTransmitter> CreateMonoTransmitter(int32_t bank) override
    {
        banks.push_back(bank);
        return std::make_unique<BlockTransmitter>(objects_, bank, [this, slice = made_++] {
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

    int failOnSlice = -1; // counted over every transmission
    std::vector<int32_t> banks;

private:
    test::FakeKurzweilObjects& objects_;
    int made_ = 0;
};

struct Questions : CABCK2000TransmitQuestions, CABCTransferProgress {
    std::vector<std::string> asked;
    int ConfirmSliceCount(int count, int maximum) override
    {
        asked.push_back("limit " + std::to_string(count) + " " + std::to_string(maximum));
        return std::min(count, maximum);
    }
    bool ReplaceProgram(uint16_t id, const std::string& name) override
    {
        asked.push_back("replace " + std::to_string(id) + " " + name);
        return true;
    }
    bool UseDefaults(EK2000TemplateProblem problem) override
    {
        asked.push_back("defaults " + std::to_string(static_cast<int>(problem)));
        return true;
    }
    CABCTransferProgress& SampleProgress(int) override { return *this; }
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

class K2000ProgramTransmissionTest : public ::testing::Test {
protected:
    // `count` slices of 100 frames to program `id`.
    SK2000TransmitResult Send(int id, std::optional<uint16_t> templateId = {}, int startKey = 36, int count = 3)
    {
        std::vector<int32_t> cuts;
        for (int k = 0; k < count; ++k)
            cuts.push_back(k * 100);
        sound_ = test::MakeSlicedSound(count * 100, cuts);
        job_ = std::make_unique<CExportJob>(*sound_->sound, sound_->slices, 0, count * 100, 1000, false, false, true,
                                            OutputTempoSettings{});
        questions.asked.clear();
        return transmission.Run(*job_, {id, "  Break  ", startKey, templateId});
    }
    size_t Logged(const std::string& line) const
    {
        return static_cast<size_t>(std::find(objects.log.begin(), objects.log.end(), line) - objects.log.begin());
    }

    test::FakeKurzweilObjects objects;
    FakeK2000 sampler{objects};
    Questions questions;
    CK2000ProgramTransmission transmission{sampler, objects, questions};
    std::unique_ptr<test::SlicedSound> sound_;
    std::unique_ptr<CExportJob> job_;
};

TEST_F(K2000ProgramTransmissionTest, WithDefaultsTheSlicesBecomeBlocksAKeymapFromTheStartKeyAndAProgram)
{
    const SK2000TransmitResult result = Send(250);
    EXPECT_EQ(questions.asked, (std::vector<std::string>{"limit 3 92", "defaults 0"}));
    ASSERT_EQ(result.slices.size(), 3u);
    EXPECT_EQ(sampler.banks, (std::vector<int32_t>{2, 2, 2}));
    EXPECT_EQ(objects.objects.at({kBlock, 200}).first, "Loop 01");
    const CK2000Keymap keymap = objects.Get<CK2000Keymap>(250);
    EXPECT_EQ(objects.objects.at({kKeymap, 250}).first, "Break");
    for (int key = 12; key < 128; ++key) {
        const SK2000KeymapEntry entry = keymap.LevelTable(7)[static_cast<size_t>(keymap.EntryIndexOfKey(key))];
        const bool placed = key >= 36 && key < 39;
        EXPECT_EQ(entry, (SK2000KeymapEntry{0, 0, uint16_t(placed ? 200 + key - 36 : 0), uint8_t(placed)})) << key;
    }
    const CK2000Program program = objects.Get<CK2000Program>(250);
    ASSERT_EQ(program.Layers().size(), 1u);
    EXPECT_EQ(CK2000Program::KeymapOf(program.Layers().front()), 250);
    EXPECT_EQ(program.CommonPart(), CK2000Program::DefaultCommon());
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

    EXPECT_TRUE(Send(300, 5).usedTemplate);
    EXPECT_EQ(questions.asked.size(), 1u) << "only the slice count";
    const CK2000Program program = objects.Get<CK2000Program>(300);
    ASSERT_EQ(program.Layers().size(), 1u) << "only the first layer";
    EXPECT_EQ(program.CommonPart()[5], 99);
    EXPECT_EQ(program.Layers()[0][150], 0x77);
    EXPECT_EQ(CK2000Program::KeymapOf(program.Layers()[0]), 300);
    EXPECT_EQ(objects.Get<CK2000Keymap>(300).LevelTable(7)[24], (SK2000KeymapEntry{0x0102, 0x33, 300, 1}));

    Send(301, 44);
    EXPECT_EQ(questions.asked.back(), "defaults 1") << "no such program";
    objects.fault = [](const std::string& line) {
        if (line == "read 132:5")
            throw XSysexTimedOut();
    };
    EXPECT_FALSE(Send(302, 5).usedTemplate);
    EXPECT_EQ(questions.asked.back(), "defaults 2") << "unreadable";
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
    for (const uint16_t block : {7, 8, 9})
        objects.Put(CK2000SoundBlock(block));
    objects.fault = [](const std::string& line) {
        if (line == "delete 134:8 20000")
            throw XKurzweilRejected(); // a factory block
    };
    Send(120);
    EXPECT_EQ(questions.asked[1], "replace 120 Old");
    EXPECT_FALSE(objects.Has(kKeymap, 121) || objects.Has(kBlock, 7));
    EXPECT_TRUE(objects.Has(kBlock, 8)) << "refused, and the transmission went on";
    EXPECT_TRUE(objects.Has(kBlock, 9)) << "not in the keymap";
    EXPECT_LT(Logged("delete 132:120 4000"), Logged("delete 133:121 4000"));
    EXPECT_LT(Logged("delete 134:7 20000"), Logged("write 134:100"));
    EXPECT_EQ(CK2000Program::KeymapOf(objects.Get<CK2000Program>(120).Layers()[0]), 120);
}

TEST_F(K2000ProgramTransmissionTest, SettingsAreCheckedBeforeAnythingIsAskedAndTheLimitIsTheKeysLeft)
{
    EXPECT_THROW(Send(0), XK2000ProgramIdOutOfRange);
    EXPECT_THROW(Send(1000), XK2000ProgramIdOutOfRange);
    EXPECT_THROW(transmission.Run(*job_, {std::nullopt, "X", 36, {}}), XK2000ProgramIdMissing);
    EXPECT_THROW(transmission.Run(*job_, {1, "   ", 36, {}}), XK2000ProgramNameMissing);
    EXPECT_THROW(Send(1, {}, 11), XK2000StartKeyOutOfRange) << "no keymap entry below key 12";
    EXPECT_TRUE(questions.asked.empty() && objects.log.empty());

    const SK2000TransmitResult result = Send(400, {}, 125, 5);
    EXPECT_EQ(questions.asked.front(), "limit 5 3");
    ASSERT_EQ(result.slices.size(), 3u);
    EXPECT_EQ(result.slices.back().key, 127);
    EXPECT_EQ(objects.Get<CK2000Keymap>(400).LevelTable(7)[115].soundBlock, result.slices.back().soundBlock);
}

TEST_F(K2000ProgramTransmissionTest, AFailureAfterABlockArrivedLeavesItUnassigned)
{
    sampler.failOnSlice = 0;
    EXPECT_THROW(Send(500), XSamplerException);
    EXPECT_FALSE(transmission.LeftUnassigned()) << "nothing arrived";
    sampler.failOnSlice = 2; // the second transmission's second slice
    EXPECT_THROW(Send(501), XSamplerException);
    EXPECT_TRUE(transmission.LeftUnassigned());
    EXPECT_FALSE(objects.Has(kKeymap, 501));
    objects.fault = [](const std::string& line) {
        if (line == "write 132:502")
            throw XKurzweilOutOfMemory();
    };
    EXPECT_THROW(Send(502), XKurzweilOutOfMemory);
    EXPECT_TRUE(transmission.LeftUnassigned()) << "the keymap is there, no program plays it";
}

} // namespace
} // namespace quorvel::k2000
