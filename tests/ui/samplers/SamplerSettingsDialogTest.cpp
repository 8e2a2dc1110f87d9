// The Sampler Settings dialog as the user sees it: whole list entries and
// the system version line of every kind of destination.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include <string>
#include <vector>

#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/LinuxSGBus.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
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

// Ports that are only listed, never opened.
class CListedInput final : public CRegisteredMIDIInput {
public:
    CListedInput(const std::string& name, const std::string& driver) : CRegisteredMIDIInput(name, driver) {}
    std::unique_ptr<CMIDIInput> Open(CMIDIInputParser&) const override { return nullptr; }
};

class CListedOutput final : public CRegisteredMIDIOutput {
public:
    CListedOutput(const std::string& name, const std::string& driver) : CRegisteredMIDIOutput(name, driver) {}
    std::unique_ptr<CMIDIOutput> Open() const override { return nullptr; }
};

using Texts = std::vector<std::string>;

Texts Entries(const QComboBox& box)
{
    Texts entries;
    for (int i = 0; i < box.count(); ++i)
        entries.push_back(box.itemText(i).toStdString());
    return entries;
}

// "name (driver)", readable when a comparison fails.
std::string Stored(const SDeviceName& port) { return port.device + " (" + port.driverKind + ")"; }

TEST(SamplerSettingsDialog, MidiPopupsOfferTheRegisteredPortsAndStoreTheChoice)
{
    CMIDIPortLists ports;
    ports.inputs.push_back(std::make_unique<CListedInput>("USB MIDI 1", "ALSA"));
    ports.inputs.push_back(std::make_unique<CListedInput>("Emulated SDS", "Loopback"));
    ports.outputs.push_back(std::make_unique<CListedOutput>("USB MIDI 1", "ALSA"));
    ports.outputs.push_back(std::make_unique<CListedOutput>("Emulated SDS", "Loopback"));
    ports.outputs.push_back(std::make_unique<CListedOutput>("Synth Out", "ALSA"));

    CInstalledSamplers samplers;
    const SSamplerModel& s3000 = *FindSamplerModel(kS3000);
    samplers.Add(s3000, "Fresh");
    CPersistentInstalledSampler& stored = samplers.Add(s3000, "Stored");
    stored.midiIn = {"Emulated SDS", "Loopback"};
    stored.midiOut = {"Emulated SDS", "Loopback"};
    CPersistentInstalledSampler& unplugged = samplers.Add(s3000, "Unplugged");
    unplugged.midiIn = {"Gone Port", "ALSA"};
    samplers.Add(*FindSamplerModel(kMixman), "File");

    CSamplerSettingsDialog dialog(samplers, ports);
    QComboBox& in = *dialog.MidiIn();
    QComboBox& out = *dialog.MidiOut();

    dialog.Select(0);
    EXPECT_EQ(Entries(in), Texts({"USB MIDI 1", "Emulated SDS"}));
    EXPECT_EQ(Entries(out), Texts({"USB MIDI 1", "Emulated SDS", "Synth Out"}));
    EXPECT_TRUE(in.isEnabled());
    EXPECT_TRUE(out.isEnabled());
    EXPECT_EQ(Stored(samplers.Samplers()[0].midiIn), "USB MIDI 1 (ALSA)") << "a new sampler takes the first port";

    dialog.Select(1);
    EXPECT_EQ(in.currentText().toStdString(), "Emulated SDS");
    EXPECT_EQ(out.currentText().toStdString(), "Emulated SDS");
    out.setCurrentIndex(2);
    emit out.activated(2);
    EXPECT_EQ(Stored(samplers.Samplers()[1].midiOut), "Synth Out (ALSA)");
    EXPECT_EQ(Stored(samplers.Samplers()[1].midiIn), "Emulated SDS (Loopback)");

    dialog.Select(2);
    EXPECT_EQ(Entries(in), Texts({"Gone Port", "USB MIDI 1", "Emulated SDS"}));
    EXPECT_EQ(in.currentText().toStdString(), "Gone Port") << "what the sampler uses stays visible";
    EXPECT_EQ(Stored(samplers.Samplers()[2].midiIn), "Gone Port (ALSA)");

    dialog.Select(3);
    EXPECT_EQ(in.count(), 0) << "a file export has no ports";
    EXPECT_FALSE(in.isEnabled());

    // Inputs without outputs: only the Out popup says there is no MIDI.
    CMIDIPortLists inputsOnly;
    inputsOnly.inputs.push_back(std::make_unique<CListedInput>("USB MIDI 1", "ALSA"));
    CSamplerSettingsDialog halfDialog(samplers, inputsOnly);
    halfDialog.Select(0);
    EXPECT_EQ(Entries(*halfDialog.MidiIn()), Texts({"USB MIDI 1"}));
    EXPECT_TRUE(halfDialog.MidiIn()->isEnabled());
    EXPECT_EQ(Entries(*halfDialog.MidiOut()), Texts({ResourceText(129, 36).toStdString()}));
    EXPECT_FALSE(halfDialog.MidiOut()->isEnabled());
}

TEST(SamplerSettingsDialog, ScsiBusPopupOffersTheRegisteredBusesAndStoresTheChoice)
{
    CSCSIBusRegistry buses;
    SLinuxSGHost host;
    host.name = "ahc0";
    buses.Register(std::make_unique<CLinuxSGBus>(host));
    buses.Register(std::make_unique<CLoopbackSCSIBus>());

    CInstalledSamplers samplers;
    const SSamplerModel& e4k = *FindSamplerModel(5121); // E-mu E4K via SCSI
    samplers.Add(e4k, "Fresh");
    CPersistentInstalledSampler& stored = samplers.Add(e4k, "Stored");
    stored.scsiBus = {"Loopback", "Loopback"};
    samplers.Add(*FindSamplerModel(kS3000), "MIDI only");

    const CMIDIPortLists noPorts;
    CSamplerSettingsDialog dialog(samplers, noPorts, buses);
    QComboBox& bus = *dialog.ScsiBus();
    dialog.Select(0);
    EXPECT_EQ(Entries(bus), Texts({"ahc0", "Loopback"}));
    EXPECT_TRUE(bus.isEnabled());
    EXPECT_EQ(Stored(samplers.Samplers()[0].scsiBus), "ahc0 (Linux SG)") << "a new sampler takes the first bus";
    dialog.Select(1);
    EXPECT_EQ(bus.currentText().toStdString(), "Loopback");
    bus.setCurrentIndex(0);
    emit bus.activated(0);
    EXPECT_EQ(Stored(samplers.Samplers()[1].scsiBus), "ahc0 (Linux SG)");
    dialog.Select(2);
    EXPECT_EQ(bus.count(), 0) << "a MIDI sampler has no bus";

    // No bus at all: the popup says so.
    CSamplerSettingsDialog without(samplers, noPorts);
    without.Select(0);
    EXPECT_EQ(Entries(*without.ScsiBus()), Texts({ResourceText(129, 37).toStdString()}));
    EXPECT_FALSE(without.ScsiBus()->isEnabled());
}

} // namespace
} // namespace quorvel
