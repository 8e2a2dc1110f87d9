#include "app/cli/SamplerOptions.h"

#include <CLI/CLI.hpp>

#include "app/CommandLineChecks.h"
#include "app/cli/CliError.h"
#include "devices/DeviceTrace.h"

namespace quorvel::cli {

void AddSamplerOptions(CLI::App& command, SamplerOptions& o)
{
    command.add_option("--model", o.model, "the sampler's model: sds (a plain MIDI Sample Dump Standard sampler)");
    command.add_option("--midi-in", o.midiIn, "the MIDI input the sampler answers on (see midi-ports)");
    command.add_option("--midi-out", o.midiOut, "the MIDI output that reaches the sampler (see midi-ports)");
    command.add_option("--sysex-id", o.sysexId, "the sampler's device number (its MIDI channel), 0 to 127; default 0")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 127));
    command.add_option("--sampler", o.sampler, "an installed sampler by name (not available yet: use --model)");
}

void AddTraceOption(CLI::App& command, std::optional<std::string>& trace)
{
    command.add_option("--trace", trace, "append every MIDI message sent and received to FILE")->type_name("FILE");
}

void StartTrace(const std::optional<std::string>& trace)
{
    if (trace && !OpenDeviceTrace(*trace))
        throw CliError(kUsage, "--trace: cannot open \"" + *trace + "\" for writing");
}

void RequireSDSModel(const SamplerOptions& o)
{
    if (o.sampler)
        throw CliError(kUsage, "--sampler: installed samplers cannot be named yet; name the sampler with "
                               "--model sds --midi-in PORT --midi-out PORT [--sysex-id N]");
    if (!o.model)
        throw CliError(kUsage, "name the sampler with --model sds --midi-in PORT --midi-out PORT [--sysex-id N]");
    if (*o.model != "sds" && *o.model != "SDS")
        throw CliError(kUsage, "--model " + *o.model + ": only sds (a plain MIDI Sample Dump Standard sampler) "
                               "can be used so far");
    if (!o.midiIn || !o.midiOut)
        throw CliError(kUsage, "--model sds needs --midi-in PORT and --midi-out PORT (see quorvel-cli midi-ports)");
}

} // namespace quorvel::cli
