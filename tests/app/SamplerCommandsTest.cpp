// The device commands run in-process on Loopback ports, with a sample dump
// device at the far end: what reaches the device, what comes back into a
// file, and how refusals read. Unpaced, so no test waits on a time-out.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "WireSDSDevice.h"
#include "analysis/SliceSet.h"
#include "app/cli/CliError.h"
#include "app/cli/OpenInput.h"
#include "app/cli/SamplerCommands.h"
#include "devices/DeviceTrace.h"
#include "fileformats/SoundImport.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel {
namespace {

using namespace cli;
using test::Bytes;
using test::TempFolder;
using test::WireDump;

constexpr const char* kPort = "Wire SDS";

SamplerOptions SDSOptions(int sysexId)
{
    SamplerOptions options;
    options.model = "sds";
    options.midiIn = options.midiOut = kPort;
    options.sysexId = sysexId;
    return options;
}

struct Rig {
    CMIDIPortLists ports;
    SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(ports, kPort, 0);
    test::WireSDSDevice device{ends};
    SamplerOptions sampler = SDSOptions(0);
    CSCSIBusRegistry buses;
    SDeviceLists Devices() const { return {ports, buses}; }
};

std::string WriteLoop(const TempFolder& folder)
{
    const std::string path = folder / "loop.wav";
    const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(loopgen::LoopSpec{});
    SafeWrite(CFileSpec(path), [&](CMedia& media) {
        WriteWaveFile(media, loop.samples.data(), loop.frames, loop.channels, loop.sampleRate);
    });
    return path;
}

// The outputs the program's one output builder makes of the loop.
std::vector<std::vector<int32_t>> Outputs(const std::string& loop, const DocumentOptions& options)
{
    const auto document = OpenInput(loop, options.Channel());
    ApplyDocumentOptions(*document, options);
    const CExportJob job = MakeExportJob(*document);
    std::vector<std::vector<int32_t>> outputs;
    for (int k = 0; k < job.OutputCount(); ++k) {
        const auto output = job.GetOutput(k);
        std::vector<int32_t> words;
        for (int32_t i = 0; i < output->Length(); ++i)
            words.push_back(output->Value(i));
        outputs.push_back(words);
    }
    return outputs;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

template <class Command>
CliError Refusal(Command command)
{
    try {
        command();
    } catch (const CliError& refusal) {
        return refusal;
    }
    ADD_FAILURE() << "the command was not refused";
    return CliError(kSuccess, "");
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(SamplerCommands, TransmitSendsEveryActiveSliceAtConsecutiveNumbersBitExactly)
{
    TempFolder folder;
    const std::string loop = WriteLoop(folder);
    Rig rig;
    DocumentOptions document;
    document.sensitivity = 99;
    TransmitOptions transmit;
    transmit.sampleNumber = 5;
    const auto outputs = Outputs(loop, document);
    ASSERT_GE(outputs.size(), 3u);

    ASSERT_TRUE(OpenDeviceTrace(folder / "trace.txt"));
    const nlohmann::json report = Transmit(rig.Devices(), loop, document, rig.sampler, transmit);
    CloseDeviceTrace();

    const nlohmann::json& samples = report["samples"];
    ASSERT_EQ(samples.size(), outputs.size());
    std::lock_guard lock(rig.device.Mutex());
    for (size_t k = 0; k < outputs.size(); ++k) {
        const int number = 5 + static_cast<int>(k);
        EXPECT_EQ(samples[k]["slice"], k + 1);
        EXPECT_EQ(samples[k]["name"], "") << "a sample dump carries no name";
        EXPECT_EQ(samples[k]["number"], number);
        EXPECT_EQ(samples[k]["frames"], outputs[k].size());
        EXPECT_EQ(samples[k]["rate"], 44100);
        ASSERT_EQ(rig.device.samples.count(number), 1u) << number;
        const WireDump& dump = rig.device.samples.at(number);
        EXPECT_EQ(dump.Format(), 16);
        EXPECT_EQ(dump.Period(), 1000000000u / 44100);
        EXPECT_EQ(dump.Words(), outputs[k]) << "sample " << number;
    }
    EXPECT_EQ(rig.device.samples.size(), outputs.size());

    // Every message both ways, with the port it crossed.
    const std::string trace = ReadText(folder / "trace.txt");
    EXPECT_TRUE(Contains(trace, "\tmidi-out\tWire SDS\tF0 7E 00 01 05 00 10 ")) << trace.substr(0, 400);
    EXPECT_TRUE(Contains(trace, "\tmidi-in\tWire SDS\tF0 7E 00 7F 00 F7\n"));
    size_t headers = 0;
    for (size_t at = trace.find("midi-out\tWire SDS\tF0 7E 00 01 "); at != std::string::npos;
         at = trace.find("midi-out\tWire SDS\tF0 7E 00 01 ", at + 1))
        ++headers;
    EXPECT_EQ(headers, outputs.size());
}

TEST(SamplerCommands, OneSampleSendsTheAssembledLoopAtTheChosenNumberAndChannel)
{
    TempFolder folder;
    const std::string loop = WriteLoop(folder);
    CMIDIPortLists ports;
    const SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(ports, kPort, 0);
    test::WireSDSDevice device(ends, 9);
    SamplerOptions sampler = SDSOptions(9);
    DocumentOptions document;
    document.oneSample = true;
    TransmitOptions transmit;
    transmit.sampleNumber = 200; // two 7-bit bytes on the wire
    const auto outputs = Outputs(loop, document);
    ASSERT_EQ(outputs.size(), 1u);

    const CSCSIBusRegistry buses;
    const nlohmann::json report = Transmit({ports, buses}, loop, document, sampler, transmit);
    ASSERT_EQ(report["samples"].size(), 1u);
    EXPECT_EQ(report["samples"][0]["slice"], 0);
    EXPECT_EQ(report["samples"][0]["number"], 200);
    EXPECT_EQ(report["samples"][0]["frames"], outputs[0].size());
    std::lock_guard lock(device.Mutex());
    ASSERT_EQ(device.samples.count(200), 1u);
    EXPECT_EQ(device.samples.at(200).header[2], 9);
    EXPECT_EQ(device.samples.at(200).Words(), outputs[0]);
}

TEST(SamplerCommands, ReceiveWritesTheSampleSafelyAsASoundFile)
{
    TempFolder folder;
    Rig rig;
    std::vector<int32_t> words;
    for (int i = 0; i < 1000; ++i)
        words.push_back(((i * 7919) % 65536) - 32768);
    words[0] = -32768;
    words[1] = 32767;
    // 16 bits, and 24 bits of which the file keeps the top 16.
    std::vector<int32_t> deep;
    for (int32_t w : words)
        deep.push_back(w * 256 + (w & 0xFF));
    rig.device.samples[6] = test::MakeWireDump(0, 6, 16, 1000000000 / 22050, words);
    rig.device.samples[300] = test::MakeWireDump(0, 300, 24, 1000000000 / 48000, deep);

    for (const char* name : {"got.wav", "got.aif"}) {
        ReceiveOptions receive;
        receive.sample = 6;
        receive.file = folder / name;
        const nlohmann::json report = Receive(rig.Devices(), rig.sampler, receive);
        EXPECT_EQ(report["frames"], 1000);
        EXPECT_EQ(report["rate"], 22050) << "the period's rate snaps to the common one";
        EXPECT_EQ(report["bits"], 16);
        EXPECT_EQ(report["loop"]["type"], "off");
        const auto sound = LoadSound(CFileSpec(receive.file), ChannelMode::Mix);
        ASSERT_EQ(sound->Length(), 1000);
        EXPECT_EQ(sound->SampleRate(), 22050);
        for (int32_t i = 0; i < 1000; ++i)
            ASSERT_EQ(sound->Value(i), words[static_cast<size_t>(i)]) << name << " frame " << i;
    }

    ReceiveOptions receive;
    receive.sample = 300;
    receive.file = folder / "got.wav";
    const CliError kept = Refusal([&] { Receive(rig.Devices(), rig.sampler, receive); });
    EXPECT_EQ(kept.Status(), kDeviceRefused);
    EXPECT_TRUE(Contains(kept.what(), "--force"));
    EXPECT_EQ(LoadSound(CFileSpec(receive.file), ChannelMode::Mix)->SampleRate(), 22050) << "the file was kept";

    receive.force = true;
    const nlohmann::json report = Receive(rig.Devices(), rig.sampler, receive);
    EXPECT_EQ(report["bits"], 24);
    EXPECT_EQ(report["rate"], 48000);
    const auto sound = LoadSound(CFileSpec(receive.file), ChannelMode::Mix);
    ASSERT_EQ(sound->Length(), 1000);
    for (int32_t i = 0; i < 1000; ++i)
        ASSERT_EQ(sound->Value(i), words[static_cast<size_t>(i)]) << "frame " << i;
}

TEST(SamplerCommands, RefusalsSayWhyAndSendNothingInVain)
{
    TempFolder folder;
    const std::string loop = WriteLoop(folder);
    DocumentOptions document;
    document.sensitivity = 99;
    ASSERT_GE(Outputs(loop, document).size(), 3u);

    {
        Rig rig;
        rig.device.cancelHeaders = true;
        const CliError cancelled = Refusal([&] { Transmit(rig.Devices(), loop, document, rig.sampler, {}); });
        EXPECT_EQ(cancelled.Status(), kDeviceRefused);
        EXPECT_TRUE(Contains(cancelled.what(), "[Operation rejected by sampler!]")) << cancelled.what();
        EXPECT_TRUE(Contains(cancelled.what(), "sample 1 of ")) << cancelled.what();
        EXPECT_TRUE(Contains(cancelled.what(), "the sampler cancelled the dump")) << cancelled.what();
    }
    {
        // Numbers end at 16383: only one slice fits, and only when asked.
        Rig rig;
        TransmitOptions last;
        last.sampleNumber = 16383;
        const CliError full = Refusal([&] { Transmit(rig.Devices(), loop, document, rig.sampler, last); });
        EXPECT_EQ(full.Status(), kDeviceRefused);
        EXPECT_TRUE(Contains(full.what(), "Too many slices!")) << full.what();
        EXPECT_TRUE(Contains(full.what(), "--accept-limit")) << full.what();
        {
            std::lock_guard lock(rig.device.Mutex());
            EXPECT_TRUE(rig.device.heard.empty()) << "nothing went out";
        }
        last.acceptLimit = true;
        const nlohmann::json report = Transmit(rig.Devices(), loop, document, rig.sampler, last);
        ASSERT_EQ(report["samples"].size(), 1u);
        EXPECT_EQ(report["samples"][0]["number"], 16383);
    }
    {
        Rig rig;
        SamplerOptions nowhere = rig.sampler;
        nowhere.midiIn = "Nowhere";
        const CliError port = Refusal([&] { Transmit(rig.Devices(), loop, document, nowhere, {}); });
        EXPECT_EQ(port.Status(), kDeviceRefused);
        EXPECT_TRUE(Contains(port.what(), "Can't open MIDI in port \"Nowhere\"!")) << port.what();
        nowhere = rig.sampler;
        nowhere.midiOut = "Nowhere";
        EXPECT_TRUE(Contains(Refusal([&] { Transmit(rig.Devices(), loop, document, nowhere, {}); }).what(),
                             "Can't open MIDI out port \"Nowhere\"!"));
    }
}

TEST(SamplerCommands, MIDIPortsListsEveryRegisteredPortWithItsDriver)
{
    Rig rig;
    AddLoopbackMIDIPorts(rig.ports, "Second", 0);
    const nlohmann::json report = MIDIPortsReport(rig.ports);
    EXPECT_EQ(report, nlohmann::json::parse(R"({"inputs":[{"name":"Wire SDS","driver":"Loopback"},
        {"name":"Second","driver":"Loopback"}],"outputs":[{"name":"Wire SDS","driver":"Loopback"},
        {"name":"Second","driver":"Loopback"}]})"));
}

} // namespace
} // namespace quorvel
