#pragma once
// Transmitting to the software destinations: the slices as new document
// windows, or as a SoundFont bank, a SampleCell instrument, a Mixman track,
// an SFZ instrument or a Hydrogen drum kit through their dialogs. Failures end as alerts here; a cancel ends
// quietly.
#include <functional>
#include <memory>
#include <string>

#include "document/ApplicationSettings.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"
#include "fileformats/SampleCellExport.h"
#include "samplers/SamplerModels.h"

class QWidget;

namespace quorvel {

class CSoundDocument;

// What the dialogs keep from one transmission to the next.
struct SSoftwareDestinationMemory {
    std::string soundFontName;
    std::string mixmanName;
    std::string sfzName;
    std::string hydrogenKitName;
    SampleCellExportSettings sampleCell;
};

struct STransmitServices {
    CInstrumentExportQuestions& questions;
    CExportProgress& progress;
    // Opens a document in a new window; throws std::bad_alloc when no window
    // can be made.
    std::function<void(std::unique_ptr<CSoundDocument>)> openWindow;
    const SSettings& settings;
    QWidget* parent = nullptr;
};

// The document must have its length (the window ensured it). Returns
// whether anything was transmitted.
bool TransmitToSoftwareDestination(const SSamplerModel& model, CSoundDocument& document,
                                   STransmitServices& services, SSoftwareDestinationMemory& memory);

// New Window: one document per output sample of the document, after alert
// 0 (table 132) when there is more than one. Returns the windows opened.
int OpenSlicesInNewWindows(CSoundDocument& document, STransmitServices& services);

} // namespace quorvel
