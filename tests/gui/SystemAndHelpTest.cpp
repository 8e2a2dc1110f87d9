// The System Information report and where the Help menu leads.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBrowser>
#include <QUrl>

#include <set>
#include <vector>

#include "QtTestApplication.h"
#include "framework/window/AlertBox.h"
#include "ui/app/HelpCommands.h"
#include "ui/app/HelpLocations.h"
#include "ui/app/ManualWindow.h"
#include "ui/app/SystemReport.h"

namespace quorvel::test {
namespace {

TEST(SystemReportTest, ReadsProcessorAndMemoryAndSaysNoneForEmptyLists)
{
    std::string model;
    int count = 0;
    ParseCpuInfo("processor\t: 0\nmodel name\t: Example CPU @ 3.0GHz\n\nprocessor\t: 1\nmodel name\t: Example CPU @ 3.0GHz\n",
                 model, count);
    EXPECT_EQ(model, "Example CPU @ 3.0GHz");
    EXPECT_EQ(count, 2);

    uint64_t total = 0, available = 0;
    ParseMemInfo("MemTotal:       16314312 kB\nMemFree: 1 kB\nMemAvailable:    8157156 kB\n", total, available);
    EXPECT_EQ(total, 16314312u);
    EXPECT_EQ(available, 8157156u);

    SSystemFacts facts;
    facts.processor = model;
    facts.processorCount = count;
    facts.memoryTotalKiB = total;
    facts.memoryAvailableKiB = available;
    facts.soundCards = {"Null: No sound card (silent)"};
    const std::string report = FormatSystemReport(facts);
    EXPECT_NE(report.find("Operating system: Unknown\n"), std::string::npos);
    EXPECT_NE(report.find("Processor: Example CPU @ 3.0GHz, 2 cores\n"), std::string::npos);
    EXPECT_NE(report.find("Memory: 15931 MB (7965 MB available)\n"), std::string::npos);
    EXPECT_NE(report.find("Sound cards:\n  Null: No sound card (silent)\n"), std::string::npos);
    EXPECT_NE(report.find("MIDI ports: none\n"), std::string::npos);
    EXPECT_NE(report.find("SCSI buses: none\n"), std::string::npos);
}

TEST(HelpLocationsTest, InstalledManualComesBeforeTheSourceTreeAndEveryPageHasAnAddress)
{
    const std::vector<std::string> candidates = ManualCandidates("/opt/q/bin", "/src/quorvel/");
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], "/opt/q/bin/../share/doc/quorvel/manual/index.html");
    EXPECT_EQ(candidates[1], "/src/quorvel/docs/manual/index.html");
    EXPECT_EQ(FindManual(candidates, [&](const std::string& p) { return p == candidates[1]; }), candidates[1]);
    EXPECT_FALSE(FindManual(candidates, [](const std::string&) { return false; }));

    std::set<std::string> addresses;
    for (uint32_t command = kCmdFirstWebPage; command <= kCmdLastWebPage; ++command)
        addresses.insert(WebPageAddress(command));
    EXPECT_EQ(addresses.size(), 4u);
    EXPECT_FALSE(addresses.count(""));
    EXPECT_EQ(WebPageAddress(kCmdHelpContents), "");
}

// Help > Contents on a desktop where no browser starts, and where one does;
// the web pages keep their alert.
TEST(HelpCommandsTest, TheManualShowsInAWindowOfOurOwnWhenNoBrowserStarts)
{
    TestApplication();
    std::vector<std::string> alerts;
    CAlertBox::SetResponder([&](const AlertRecord& record) {
        alerts.push_back(record.message);
        return AlertResultForSlot(0);
    });
    std::vector<QUrl> asked;
    bool browserStarts = false;
    SetUrlOpener([&](const QUrl& url) {
        asked.push_back(url);
        return browserStarts;
    });
    auto manualWindows = [] {
        std::vector<CManualWindow*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* manual = qobject_cast<CManualWindow*>(widget); manual && manual->isVisible())
                windows.push_back(manual);
        return windows;
    };
    QWidget frame;

    browserStarts = true;
    OpenManual(&frame);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].isLocalFile());
    EXPECT_TRUE(asked[0].toLocalFile().endsWith("manual/index.html"));
    EXPECT_TRUE(manualWindows().empty()) << "the browser shows it";

    browserStarts = false;
    OpenManual(&frame);
    OpenManual(&frame); // a second time brings the same window forward
    const std::vector<CManualWindow*> shown = manualWindows();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    QTextBrowser& browser = shown[0]->Browser();
    EXPECT_EQ(browser.source().toLocalFile(), asked[0].toLocalFile());
    EXPECT_GT(browser.document()->characterCount(), 1000) << "the manual's text is there";
    EXPECT_FALSE(shown[0]->windowTitle().isEmpty());

    OpenWebPage(kCmdFirstWebPage, &frame);
    EXPECT_EQ(alerts, std::vector<std::string>{"No Internet browser found."});

    shown[0]->close();
    SetUrlOpener({});
    CAlertBox::SetResponder({});
}

} // namespace
} // namespace quorvel::test
