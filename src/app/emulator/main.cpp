// quorvel-sampler-emulator: one emulated sampler as a JACK client of its own,
// so that the program and a sampler meet across processes as they do on a
// real desk. It runs the same emulator the program starts in-process, with
// the same memory folder and fault scripts, and bridges its Loopback ends to
// a JACK MIDI input "in" and output "out".
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "app/CommandLineChecks.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/EmulatorJackBridge.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/midi/JackMIDIClient.h"
#include "devices/midi/LoopbackMIDI.h"

namespace {

using namespace quorvel;

constexpr const char* kTool = "quorvel-sampler-emulator";
constexpr int kUsage = 1;
constexpr int kNoServer = 3;

// Waits for SIGINT or SIGTERM, or for the server to go away; true for a signal.
bool WaitForTheEnd(const sigset_t& signals, const CJackMIDIClient& client)
{
    const timespec step{0, 100'000'000};
    for (;;) {
        if (sigtimedwait(&signals, nullptr, &step) > 0)
            return true;
        if (client.ServerGone())
            return false;
    }
}

int Run(int argc, char** argv)
{
    CLI::App app{"Runs one emulated sampler as a JACK client with a MIDI input \"in\" and output \"out\". It "
                 "keeps its memory in QUORVEL_EMULATOR_DIR and plays the faults of QUORVEL_EMULATOR_FAULTS, as "
                 "the emulators the program starts do. Prints \"ready: CLIENT:in CLIENT:out\" once its ports are "
                 "registered and runs until SIGINT or SIGTERM.",
                 kTool};
    std::string model;
    std::optional<std::string> name;
    app.add_option("--model", model,
                   "sds, or the type id of a sampler model reached over MIDI (a model reached over SCSI only, "
                   "and smdi, are refused: a JACK client carries MIDI)")
        ->required();
    app.add_option("--name", name, "the JACK client's name (default: the emulator's port name, e.g. \"Emulated SDS\")");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }

    const std::vector<std::string>& built = BuiltEmulatorIds();
    if (std::find(built.begin(), built.end(), model) == built.end()) {
        std::cerr << kTool << ": no emulator \"" << model << "\" is built\n";
        return kUsage;
    }

    // Blocked before any thread starts, so that every thread inherits the
    // mask and only the wait below takes the signals.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    const SEmulatorSettings settings =
        ParseEmulatorSettings(model.c_str(), std::getenv("QUORVEL_EMULATOR_DIR"),
                              std::getenv("QUORVEL_EMULATOR_FAULTS"), std::cerr);
    CMIDIPortLists ports;
    CEmulatedSamplers emulators(ports, settings, SteadyEmulatorClock(), CLoopbackMIDIWire::BaudFromEnvironment(),
                                std::cerr);
    const auto* programIn = ports.inputs.empty()
                                ? nullptr
                                : dynamic_cast<const CRegisteredLoopbackMIDIInput*>(ports.inputs.front().get());
    const auto* programOut = ports.outputs.empty()
                                 ? nullptr
                                 : dynamic_cast<const CRegisteredLoopbackMIDIOutput*>(ports.outputs.front().get());
    if (!programIn || !programOut) {
        std::cerr << kTool << ": --model " << model
                  << " is a sampler reached over SCSI only; a JACK client carries MIDI\n";
        return kUsage;
    }

    std::unique_ptr<CJackMIDIClient> client;
    try {
        client = std::make_unique<CJackMIDIClient>(name.value_or(programIn->Name()));
    } catch (const XJackUnavailable&) {
        std::cerr << kTool << ": no JACK server answers; start one (jackd, or PipeWire's JACK) first\n";
        return kNoServer;
    }
    int status = 0;
    {
        // The emulator listens to what the program's output writes and
        // writes what the program's input receives.
        CEmulatorJackBridge bridge(*client, programOut->Wire(), programIn->Wire());
        std::cout << "ready: " << bridge.InputName() << " " << bridge.OutputName() << std::endl;
        if (!WaitForTheEnd(signals, *client)) {
            std::cerr << kTool << ": the JACK server went away\n";
            status = kNoServer;
        }
    }
    // The emulator keeps its memory as it ends, after the bridge is gone.
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return quorvel::cli::FinishStandardOutput(kTool, Run(argc, argv));
    } catch (const std::exception& failure) {
        std::cerr << kTool << ": " << failure.what() << "\n";
        return 2;
    }
}
