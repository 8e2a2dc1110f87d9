// The model table and the installed samplers: what the menus and the
// preferences rely on.
#include <gtest/gtest.h>

#include <set>

#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "samplers/InstalledSamplers.h"
#include "samplers/SamplerModels.h"

namespace quorvel {
namespace {

TEST(SamplerModels, TableIsCompleteAndConsistent)
{
    // The original table's 38 rows first, then the destinations added after it.
    ASSERT_EQ(SamplerModels().size(), 40u);
    EXPECT_EQ(SamplerModels()[37].typeId, 6002u);
    EXPECT_EQ(SamplerModels()[38].typeId, kSfzModel);
    EXPECT_EQ(SamplerModels()[39].typeId, kHydrogenKitModel);
    std::set<uint32_t> typeIds;
    for (const SSamplerModel& model : SamplerModels()) {
        EXPECT_TRUE(typeIds.insert(model.typeId).second) << model.name << " repeats a type id";
        // The list shows the model table's names; they must match the texts.
        EXPECT_EQ(BuiltInTextResources().Text(StringReference(133, model.nameId)), model.name);
        EXPECT_EQ(IsSoftwareDestination(model), !model.canReceive) << model.name;
    }
    const SSamplerModel* s1000 = FindSamplerModel(4000);
    ASSERT_NE(s1000, nullptr);
    EXPECT_EQ(s1000->requiredOS.major, 4);
    EXPECT_EQ(s1000->requiredOS.minor, 40);
    EXPECT_TRUE(UsesMIDI(*s1000));
    EXPECT_FALSE(UsesSCSI(*s1000));
    const SSamplerModel* k2000 = FindSamplerModel(1002);
    ASSERT_NE(k2000, nullptr);
    EXPECT_TRUE(UsesMIDI(*k2000) && UsesSCSI(*k2000));
    EXPECT_EQ(FindSamplerModel(4001), nullptr);
    EXPECT_EQ(FindSamplerModel(kMixmanModel)->helpTopic, 102100u);
    EXPECT_EQ(FindSamplerModel(6000)->infoId, 670);
}

TEST(InstalledSamplers, MenuTextsFollowTheModel)
{
    CTextResources& texts = BuiltInTextResources();
    CInstalledSamplers samplers;
    samplers.Add(*FindSamplerModel(kNewWindowModel), "Windows");
    samplers.Add(*FindSamplerModel(kSoundFontModel), "Bank");
    samplers.Add(*FindSamplerModel(4100), "Studio S3000");
    samplers.Add(*FindSamplerModel(kSfzModel), "Instruments");
    samplers.Add(*FindSamplerModel(kHydrogenKitModel), "Kits");
    EXPECT_EQ(TransmitMenuText(texts, samplers.Samplers()[0]), "Open Slices in New Windows");
    EXPECT_EQ(TransmitMenuText(texts, samplers.Samplers()[1]), "Export as SoundFont File");
    EXPECT_EQ(TransmitMenuText(texts, samplers.Samplers()[2]), "Transmit to Studio S3000");
    EXPECT_EQ(TransmitMenuText(texts, samplers.Samplers()[3]), "Export as SFZ Instrument");
    EXPECT_EQ(TransmitMenuText(texts, samplers.Samplers()[4]), "Export as Hydrogen Drum Kit");
    EXPECT_FALSE(CanReceive(samplers.Samplers()[4]));
    EXPECT_EQ(ReceiveMenuText(texts, samplers.Samplers()[0]), "") << "software destinations keep the menu's text";
    EXPECT_FALSE(CanReceive(samplers.Samplers()[0]));
    EXPECT_EQ(ReceiveMenuText(texts, samplers.Samplers()[2]), "Receive from Studio S3000");

    CPersistentInstalledSampler unknown;
    unknown.modelTypeId = 4001;
    EXPECT_EQ(TransmitMenuText(texts, unknown), "Transmit not Available");
    EXPECT_EQ(ReceiveMenuText(texts, unknown), "Receive not Available");
}

TEST(InstalledSamplers, NamesTargetAndRemoval)
{
    CInstalledSamplers samplers;
    EXPECT_EQ(samplers.Current(), nullptr);
    const SSamplerModel& model = *FindSamplerModel(kSampleCellModel);
    EXPECT_THROW(samplers.Add(model, ""), XSamplerNameMissing);
    EXPECT_EQ(CInstalledSamplers::ProposedName(BuiltInTextResources(), model), "My SampleCell");
    samplers.Add(model, std::string(50, 'n'));
    EXPECT_EQ(samplers.Samplers()[0].userName.size(), 39u);
    samplers.Add(model, "second");
    samplers.Add(model, "third");
    samplers.SetCurrentIndex(2);
    samplers.Remove(0);
    EXPECT_EQ(samplers.Current()->userName, "third") << "the target follows its sampler";
    samplers.Remove(1);
    EXPECT_EQ(samplers.Current()->userName, "second") << "a vanished target falls back to the first";
    EXPECT_THROW(samplers.Rename(0, ""), XSamplerNameMissing);
}

} // namespace
} // namespace quorvel
