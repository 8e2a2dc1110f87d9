#pragma once
// A sampler the options name, open for as long as one command talks to it:
// over two registered MIDI ports for the sample dump, over a registered SCSI
// bus for SMDI and the E-mu samplers.
#include <memory>

#include "app/cli/SamplerOptions.h"
#include "samplers/SamplerInterface.h"

namespace quorvel {
struct CMIDIPortLists;
class CSCSIBusRegistry;
} // namespace quorvel

namespace quorvel::cli {

class CSamplerSession {
public:
    explicit CSamplerSession(SCliSampler sampler) : sampler_(std::move(sampler)) {}
    virtual ~CSamplerSession() = default;
    CSamplerSession(const CSamplerSession&) = delete;
    CSamplerSession& operator=(const CSamplerSession&) = delete;

    virtual CABCSamplerInterface& Interface() = 0;
    const SCliSampler& Sampler() const { return sampler_; }

private:
    SCliSampler sampler_;
};

// Opens what `options` name (see ResolveSampler). CliError (status 3) with
// the program's alert when a port or the bus is not registered or does not
// open, or when the SCSI target is not the model named.
std::unique_ptr<CSamplerSession> OpenSamplerSession(const CMIDIPortLists& ports, const CSCSIBusRegistry& buses,
                                                    const SamplerOptions& options);

} // namespace quorvel::cli
