#include <gtest/gtest.h>

#include <string>

#include "samplers/SamplerExceptions.h"
#include "samplers/SamplerInterface.h"

using namespace quorvel;

namespace {

SampleInfo MakeInfo()
{
    SampleInfo info;
    info.SetName("Kick");
    info.channelCount = 1;
    info.bits = 16;
    info.rate = 44100;
    info.length = 1000;
    info.playEnd = 999;
    info.rootKey = 60;
    return info;
}

} // namespace

TEST(SampleInfoTest, ComparesEveryFieldButThePointsOfTwoAbsentLoops)
{
    const SampleInfo base = MakeInfo();
    EXPECT_EQ(CompareSampleInfo(base, base), 0);
    EXPECT_EQ(SampleInfo{}, SampleInfo{});

    // Each field on its own makes a difference.
    auto differs = [&](auto change) {
        SampleInfo other = base;
        change(other);
        return !(other == base);
    };
    EXPECT_TRUE(differs([](SampleInfo& i) { i.SetName("kick"); })); // case counts
    EXPECT_TRUE(differs([](SampleInfo& i) { i.channelCount = 2; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.bits = 12; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.rate = 22050; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.length = 1; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.playStart = 1; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.playEnd = 1; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.sustainLoop = {2, 0, 0}; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.releaseLoop = {3, 0, 0}; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.rootKey = 61; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.keyByte2 = 1; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.keyByte3 = 1; }));
    EXPECT_TRUE(differs([](SampleInfo& i) { i.fineTuning = -1; }));
    // No loop is no loop, whatever points it carries.
    EXPECT_FALSE(differs([](SampleInfo& i) { i.sustainLoop = {0, 5, 9}; }));
    EXPECT_FALSE(differs([](SampleInfo& i) { i.releaseLoop = {0, 1, 2}; }));
    // A loop's points count once it has a type.
    SampleInfo looped = base, moved = base;
    looped.sustainLoop = {2, 10, 20};
    moved.sustainLoop = {2, 10, 21};
    EXPECT_FALSE(looped == moved);

    // Order: name first, bytewise (upper case before lower, high bytes last).
    SampleInfo a = base, b = base;
    a.SetName("B");
    b.SetName("a");
    a.rate = 99999;
    EXPECT_LT(CompareSampleInfo(a, b), 0);
    b.SetName("\xC4");
    EXPECT_LT(CompareSampleInfo(a, b), 0);
}

TEST(SampleInfoTest, NamesAreCutTo255Bytes)
{
    SampleInfo info;
    info.SetName(std::string(300, 'x'));
    EXPECT_EQ(info.Name().size(), 255u);
    EXPECT_EQ(info.name[255], '\0');
}

TEST(SampleSpecTest, CopiesCarryTheirOwnInfoAndEveryField)
{
    CSampleSpec entry("Snare", 12);
    entry.SetStereo(13);
    entry.SetBrandValue(7);
    SampleInfo info = MakeInfo();
    entry.SetInfo(info);
    CSampleSpec copy(entry);
    ASSERT_NE(copy.Info(), nullptr);
    EXPECT_NE(copy.Info(), entry.Info());
    EXPECT_EQ(*copy.Info(), info);
    EXPECT_EQ(copy.Name(), "Snare");
    EXPECT_EQ(copy.Number(), 12);
    EXPECT_TRUE(copy.IsStereo());
    EXPECT_EQ(copy.RightNumber(), 13);
    EXPECT_EQ(copy.BrandValue(), 7);
    CSampleSpec assigned;
    assigned = entry;
    EXPECT_NE(assigned.Info(), entry.Info());
    EXPECT_EQ(assigned.BrandValue(), 7);
    EXPECT_EQ(CSampleSpec(std::string(400, 'n'), 1).Name().size(), 255u);
}

TEST(SampleListTest, HoldsAThousandEntriesAndRefusesTheNextUnchanged)
{
    CSampleList list;
    EXPECT_TRUE(list.SortedByName());
    EXPECT_TRUE(list.SortedByNumber());
    for (int i = 0; i < 1000; ++i) {
        uint16_t index = 0;
        char name[8];
        std::snprintf(name, sizeof name, "S%04d", i);
        ASSERT_TRUE(list.Add(CSampleSpec(name, i), &index));
        ASSERT_EQ(index, i);
    }
    uint16_t index = 1234;
    EXPECT_FALSE(list.Add(CSampleSpec("A", -1), &index));
    EXPECT_EQ(index, 1234);
    EXPECT_EQ(list.Count(), 1000);
    EXPECT_TRUE(list.SortedByName());
    EXPECT_TRUE(list.SortedByNumber());
    EXPECT_EQ(list.Get(999)->Name(), "S0999");
    EXPECT_EQ(list.Get(1000), nullptr);
}

TEST(SampleListTest, AddTracksBothOrdersAndSortByNameIsStable)
{
    CSampleList list;
    list.Add(CSampleSpec("B", 1));
    list.Add(CSampleSpec("A", 2));
    EXPECT_FALSE(list.SortedByName());
    EXPECT_TRUE(list.SortedByNumber());
    list.Add(CSampleSpec("B", 0));
    EXPECT_FALSE(list.SortedByNumber());
    list.Add(CSampleSpec("a", 3));
    list.Add(CSampleSpec("A", 4));

    list.SortByName();
    EXPECT_TRUE(list.SortedByName());
    EXPECT_FALSE(list.SortedByNumber());
    const std::pair<const char*, int> expected[] = {{"A", 2}, {"A", 4}, {"B", 1}, {"B", 0}, {"a", 3}};
    ASSERT_EQ(list.Count(), 5);
    for (uint16_t i = 0; i < 5; ++i) {
        EXPECT_EQ(list.Get(i)->Name(), expected[i].first) << i;
        EXPECT_EQ(list.Get(i)->Number(), expected[i].second) << i;
    }

    // A sorted list is left alone, flags included.
    CSampleList sorted;
    sorted.Add(CSampleSpec("A", 5));
    sorted.Add(CSampleSpec("B", 1));
    sorted.SortByName();
    EXPECT_FALSE(sorted.SortedByNumber());
    EXPECT_EQ(sorted.Get(0)->Number(), 5);
}

TEST(SampleListTest, MergedStereoPairsLeaveOneEntryAfterCompact)
{
    CSampleList list;
    list.Add(CSampleSpec("Pad-L", 10));
    list.Add(CSampleSpec("Other", 11));
    list.Add(CSampleSpec("Pad-R", 12));
    list.MergeStereoPair(0, 2, std::string(300, 'P'));
    EXPECT_EQ(list.Get(2), nullptr);
    EXPECT_EQ(list.Count(), 3);
    list.Compact();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_TRUE(list.Get(0)->IsStereo());
    EXPECT_EQ(list.Get(0)->Number(), 10);
    EXPECT_EQ(list.Get(0)->RightNumber(), 12);
    EXPECT_EQ(list.Get(0)->Name(), std::string(255, 'P'));
    EXPECT_EQ(list.Get(1)->Name(), "Other");
    EXPECT_FALSE(list.Get(1)->IsStereo());
    // The freed place takes new entries.
    EXPECT_TRUE(list.Add(CSampleSpec("New", 13)));
    EXPECT_EQ(list.Get(2)->Name(), "New");
}

TEST(SamplerLocationListTest, HoldsSixtyFourLocationsWithShortNames)
{
    CSamplerLocationList list;
    EXPECT_EQ(list.Name(), "Locations");
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(list.Add({i, std::string(70, 'L'), 0}));
    EXPECT_FALSE(list.Add({64, "One too many", 0}));
    EXPECT_EQ(list.Count(), 64);
    EXPECT_EQ(list.Get(63).name.size(), 63u);
}

namespace {

// A sampler whose list and adaptation the tests choose.
class ScriptedInterface : public CABCSamplerInterface {
public:
    void GetSampleInfo(SampleInfo&, int32_t) override {}
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t) override { return nullptr; }
    void DeleteSample(int32_t) override {}
    void AdaptSampleInfo(SampleInfo& info) override
    {
        if (info.Name().size() > 12)
            info.SetName(info.Name().substr(0, 12));
        info.channelCount = 1;
    }
    void GetCapabilities(SamplerCapabilities&) override {}
    void FillSampleList(int32_t location, CSampleList& list, uint32_t flags) override
    {
        list.Add(CSampleSpec("Left", location));
        list.Add(CSampleSpec("Right", static_cast<int32_t>(flags)));
        if (failFill)
            throw XSampleDoesNotExist();
    }
    void FinishSampleList(CSampleList& list) override
    {
        ++finished;
        if (pair) {
            list.MergeStereoPair(0, 1, "Both");
            list.Compact();
        }
    }
    bool failFill = false;
    bool pair = false;
    int finished = 0;
};

} // namespace

TEST(SamplerInterfaceTest, BaseAnswersOneGlobalLocationAndNoTransfersOfItsOwn)
{
    ScriptedInterface sampler;
    const auto locations = sampler.GetLocations();
    ASSERT_EQ(locations->Count(), 1);
    EXPECT_EQ(locations->Get(0).id, 0);
    EXPECT_EQ(locations->Get(0).name, "Global");
    EXPECT_EQ(sampler.CreateReceiverFor(1, 0), nullptr);
    EXPECT_EQ(sampler.CreateTransmitter(1), nullptr);
    EXPECT_EQ(sampler.CreateMonoTransmitter(0), nullptr);
    EXPECT_EQ(sampler.CreateTransmitterFor(0, 1), nullptr);
    EXPECT_EQ(sampler.CreateStereoLeftTransmitter(0), nullptr);
    EXPECT_EQ(sampler.CreateStereoRightTransmitter(0), nullptr);
}

TEST(SamplerInterfaceTest, ExactWhenAdaptingChangesNothing)
{
    ScriptedInterface sampler;
    SampleInfo info = MakeInfo();
    EXPECT_TRUE(sampler.IsSampleInfoExact(info));
    info.SetName("A name longer than twelve");
    EXPECT_FALSE(sampler.IsSampleInfoExact(info));
    info.SetName("Short");
    info.channelCount = 2;
    EXPECT_FALSE(sampler.IsSampleInfoExact(info));
}

TEST(SamplerInterfaceTest, SampleListIsFilledThenFinishedOrNotReturnedAtAll)
{
    ScriptedInterface sampler;
    sampler.pair = true;
    const auto list = sampler.GetSampleList(3, 9);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Get(0)->Name(), "Both");
    EXPECT_EQ(list->Get(0)->Number(), 3);
    EXPECT_EQ(list->Get(0)->RightNumber(), 9);
    EXPECT_EQ(sampler.finished, 1);

    sampler.failFill = true;
    EXPECT_THROW(sampler.GetSampleList(0, 0), XSampleDoesNotExist);
    EXPECT_EQ(sampler.finished, 1);
}
