#include "app/cli/PlayCommand.h"

#include <chrono>
#include <thread>
#include <tuple>

#include <CLI/CLI.hpp>

#include "app/CommandLineChecks.h"
#include "app/cli/CliError.h"
#include "app/cli/OpenInput.h"
#include "fileformats/FileAlerts.h"
#include "playback/SoundCardRegistry.h"
#include "playback/WavePlayer.h"

namespace quorvel::cli {

namespace {

constexpr int kNoSoundAlertText = 7;

nlohmann::ordered_json LatenciesOf(const CSoundChannel& channel)
{
    nlohmann::ordered_json latencies = nlohmann::ordered_json::array();
    for (uint16_t i = 0; i < channel.LatencyCount(); ++i)
        latencies.push_back(channel.LatencyMs(i));
    return latencies;
}

uint16_t CardNamed(const CSoundCardRegistry& registry, const std::string& name)
{
    for (uint16_t i = 0; i < registry.Count(); ++i) {
        const CRegisteredSoundCard* card = registry.CardAt(i);
        if (card->Name() == name || card->Type() == name)
            return i;
    }
    throw CliError(kUsage, "no usable sound card named \"" + name + "\" (see quorvel-cli devices)");
}

// The n-th slice (from 1) that cuts the loop, as [start, end).
std::pair<int32_t, int32_t> ActiveSlice(const CSoundDocument& document, int n)
{
    const CSliceList& slices = document.Slices();
    int index = 0;
    for (const CSlice* slice = slices.First(SliceFilter::Active); slice;
         slice = slices.Next(slice, SliceFilter::Active)) {
        if (++index == n)
            return {slice->position, slice->position + slices.SliceLength(slice, SliceFilter::Active)};
    }
    throw CliError(kUsage, "there is no slice " + std::to_string(n) + " (" + std::to_string(index) +
                               " slices cut the loop)");
}

} // namespace

void AddPlayOptions(CLI::App& command, PlayOptions& o)
{
    command.add_option("--slice", o.slice, "play this slice once (1 is the first that cuts the loop)")
        ->check(WholeNumber())
        ->check(CLI::PositiveNumber);
    command.add_flag("--loop", o.loop, "play the loop between the locators (the default)");
    command.add_option("--seconds", o.seconds, "how long to play (default: the loop once, or the whole slice)")
        ->check(DecimalNumber())
        ->check(CLI::Range(0.0, 3600.0));
    command.add_option("--device", o.device, "sound card name or type (see devices; default: the first that opens)");
    command.add_option("--latency", o.latency, "latency setting index of the card")->check(WholeNumber());
    command.add_option("--capture", o.capture, "the silent Null card writes what it plays into this WAV file");
}

nlohmann::ordered_json DevicesReport()
{
    CSoundCards cards(nullptr, nullptr);
    cards.RegisterCards();
    nlohmann::ordered_json devices = nlohmann::ordered_json::array();
    const CSoundCardRegistry& registry = cards.Registry();
    for (uint16_t i = 0; i < registry.Count(); ++i) {
        const CRegisteredSoundCard* card = registry.CardAt(i);
        nlohmann::ordered_json device{{"type", card->Type()},
                                      {"name", card->Name()},
                                      {"driver", card->Driver()},
                                      {"usable", card->Usable()}};
        try {
            const auto channel = card->CreateChannel(CSoundCards::kOutputRate, nullptr, nullptr,
                                                     CSoundCards::kChannelCount);
            device["latency_ms"] = LatenciesOf(*channel);
        } catch (const XBase&) {
            device["latency_ms"] = nlohmann::ordered_json::array();
        }
        devices.push_back(device);
    }
    return devices;
}

nlohmann::ordered_json Play(const std::string& input, const DocumentOptions& documentOptions, const PlayOptions& o)
{
    const std::unique_ptr<CSoundDocument> document = OpenInput(input, documentOptions.Channel());
    ApplyDocumentOptions(*document, documentOptions);
    WAVE_SAMPLE& sound = *document->Sound();
    int32_t start = sound.LoopStart();
    int32_t end = sound.LoopEnd();
    if (o.slice)
        std::tie(start, end) = ActiveSlice(*document, *o.slice);

    CWavePlayer player;
    CSoundCards cards(&player, nullptr);
    // A capture only makes sense on the silent card, so it is chosen then.
    cards.RegisterCards(o.capture.value_or(""));
    const std::string device = o.capture ? std::string("Null") : o.device.value_or("");
    const bool opened = device.empty() ? cards.OpenAnyCard() : cards.OpenCard(CardNamed(cards.Registry(), device));
    if (!opened)
        throw CliError(kExportRefused, FileAlertText(kNoSoundAlertText));
    CSoundChannel& channel = *cards.Channel();
    if (o.latency) {
        if (*o.latency >= channel.LatencyCount())
            throw CliError(kUsage, "latency setting " + std::to_string(*o.latency) + " does not exist (0 to " +
                                       std::to_string(channel.LatencyCount() - 1) + ")");
        channel.SelectLatency(static_cast<uint16_t>(*o.latency));
    }
    player.SetChannel(&channel);

    const double seconds =
        o.seconds.value_or(double(end - start) / sound.SampleRate() + channel.CurrentLatencyMs() / 1000.0);
    if (o.slice)
        player.PlayRange(sound, start, end, nullptr);
    else
        player.PlayLoop(sound, start, nullptr);

    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until && player.IsPlaying(&sound)) {
        if (channel.Failed()) {
            player.Stop();
            throw CliError(kExportRefused, "the sound card \"" + cards.Channel()->Card()->Name() +
                                               "\" stopped working during playback (its sound server ended)");
        }
        player.IdleStep();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    player.Stop();
    const uint32_t underruns = channel.UnderrunCount();
    const CRegisteredSoundCard* card = cards.Registry().CardAt(cards.SelectedCardIndex());
    nlohmann::ordered_json report{{"device", card->Name()},
                                  {"type", card->Type()},
                                  {"latency_ms", channel.CurrentLatencyMs()},
                                  {"seconds", seconds},
                                  {"underruns", underruns}};
    cards.CloseChannel();
    return report;
}

} // namespace quorvel::cli
