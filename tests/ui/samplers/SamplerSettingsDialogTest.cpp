// The Sampler Settings dialog as the user sees it: whole list entries and
// the system version line of every kind of destination.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>

#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "samplers/InstalledSamplers.h"
#include "samplers/SamplerModels.h"
#include "ui/samplers/SamplerSettingsDialog.h"

namespace quorvel {
namespace {

QString ResourceText(uint32_t table, uint32_t entry)
{
    return QString::fromStdString(BuiltInTextResources().Text(StringReference(table, entry)));
}

// Models by type id: the longest hardware name, a MIDI model with a version
// to read, one without, and a software destination.
constexpr uint32_t kAsr10 = 3020;
constexpr uint32_t kS3000 = 4100;
constexpr uint32_t kS760 = 2000;
constexpr uint32_t kMixman = 24;

TEST(SamplerSettingsDialog, EveryListEntryShowsWhole)
{
    CInstalledSamplers samplers;
    for (uint32_t type : {kNewWindowModel, kS3000, kAsr10, kMixman}) {
        const SSamplerModel& model = *FindSamplerModel(type);
        samplers.Add(model, CInstalledSamplers::ProposedName(BuiltInTextResources(), model));
    }
    CSamplerSettingsDialog dialog(samplers);
    dialog.show();
    QApplication::processEvents();
    QListWidget& list = *dialog.List();
    ASSERT_EQ(list.count(), 4);
    EXPECT_TRUE(list.item(1)->text().endsWith("(AKAI S3000 via MIDI)"));
    const int room = list.viewport()->width();
    for (int row = 0; row < list.count(); ++row) {
        const QString text = list.item(row)->text();
        EXPECT_LE(list.fontMetrics().horizontalAdvance(text) + 2 * list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin),
                  room)
            << text.toStdString() << " is cut off";
    }

    // A longer name added later widens the list as well.
    const SSamplerModel& asr = *FindSamplerModel(kAsr10);
    ASSERT_TRUE(dialog.AddSampler(asr, "Drum room ASR with the long cable run"));
    QApplication::processEvents();
    const QString added = list.item(4)->text();
    EXPECT_LE(list.fontMetrics().horizontalAdvance(added), list.viewport()->width()) << added.toStdString();
}

TEST(SamplerSettingsDialog, SystemVersionLineNamesWhatIsKnown)
{
    CInstalledSamplers samplers;
    for (uint32_t type : {kNewWindowModel, kMixman, kS3000, kS760})
        samplers.Add(*FindSamplerModel(type), "Mine");
    CPersistentInstalledSampler& asked = samplers.Add(*FindSamplerModel(kS3000), "Asked");
    asked.versionKnown = true;
    asked.osVersion.major = 4;
    asked.osVersion.minor = 40;
    CSamplerSettingsDialog dialog(samplers);
    const std::string unknown = ResourceText(129, 50).toStdString();
    const std::string undetectable = ResourceText(129, 51).toStdString();
    ASSERT_EQ(undetectable, "Cannot be detected.");

    dialog.Select(0);
    EXPECT_EQ(dialog.VersionText()->text().toStdString(), undetectable) << "New Window has no system to read";
    dialog.Select(1);
    EXPECT_EQ(dialog.VersionText()->text().toStdString(), undetectable) << "nor has a file export";
    dialog.Select(2);
    EXPECT_EQ(dialog.VersionText()->text().toStdString(), unknown) << "the S3000 can tell once asked";
    dialog.Select(3);
    EXPECT_EQ(dialog.VersionText()->text().toStdString(), undetectable) << "the S-760 never tells";
    dialog.Select(4);
    EXPECT_EQ(dialog.VersionText()->text().toStdString(), "V4.40");
}

} // namespace
} // namespace quorvel
