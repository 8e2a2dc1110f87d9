#pragma once
// Transmit and Receive to an installed hardware sampler: the interface is
// opened for the one operation (so no MIDI port of the sampler stays open
// once it ends), the brand's dialog runs, and whatever fails on the way
// ends in its alert.
#include "ui/samplers/SamplerFlowServices.h"

namespace quorvel {

class CSoundDocument;

// What the document window hands a transmission; not kept. The document
// carries its slices, tempo and the one-sample and normalize toggles.
struct STransmitRequest {
    const CSoundDocument& document;
};

// True when every sample arrived. Failures the handler does not know pass on.
bool TransmitToInstalled(const CPersistentInstalledSampler& sampler, const STransmitRequest& request,
                         SSamplerFlowServices& services);
// True when the received sample opened in a new window.
bool ReceiveFromInstalled(const CPersistentInstalledSampler& sampler, SSamplerFlowServices& services);

// `count` when it is at most `maximum`; otherwise asks (alert 2 of the
// instrument table) whether the first `maximum` slices will do: OK gives
// `maximum`, Cancel throws XSampleTransmitCancelled.
int ConfirmSliceCount(int count, int maximum, QWidget* parent);

} // namespace quorvel
