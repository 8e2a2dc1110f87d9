#pragma once
// What the transmit and receive flow to an installed sampler works with:
// the way to the sampler's interface, the lengthy-operation window, the
// window that takes a received sample, and what the dialogs remember from
// one use to the next.
#include <functional>
#include <memory>
#include <optional>

#include "document/ApplicationSettings.h"
#include "fileformats/PreferenceObjects.h"
#include "framework/LengthyOperation.h"
#include "samplers/SamplerBrands.h"
#include "samplers/SamplerInterface.h"

class QWidget;

namespace quorvel {

class CSoundDocument;

// Opens the sampler's interface for one operation; its MIDI ports are open
// as long as the interface lives.
using SamplerInterfaceFactory =
    std::function<std::unique_ptr<CABCSamplerInterface>(const CPersistentInstalledSampler&)>;

// The brands' interfaces on the registered ports and buses, which must
// outlive the factory.
SamplerInterfaceFactory InstalledInterfaceFactory(const SSamplerDevices& devices);

struct SSamplerDialogMemory {
    // The start number last typed into the transmit dialog.
    std::optional<int32_t> transmitStart;
    // The sample number last received.
    std::optional<int32_t> receiveNumber;
};

struct SSamplerFlowServices {
    SamplerInterfaceFactory createInterface;
    SLengthyOperationServices lengthy;
    // Opens a document in a new window; throws std::bad_alloc when no window
    // can be made.
    std::function<void(std::unique_ptr<CSoundDocument>)> openWindow;
    const SSettings& settings;
    SSamplerDialogMemory& memory;
    QWidget* parent = nullptr;
};

} // namespace quorvel
