#include "ui/samplers/SoftwareTransmit.h"

#include <new>

#include "analysis/SliceSet.h"
#include "document/SoundDocument.h"
#include "fileformats/HydrogenKitExport.h"
#include "fileformats/MixmanExport.h"
#include "fileformats/SfzExport.h"
#include "fileformats/SoundFontExport.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "ui/samplers/InstrumentExportDialog.h"

namespace quorvel {

namespace {

constexpr uint32_t kTransmitAlerts = 132;
constexpr uint32_t kManyWindowsAlert = 0;
constexpr uint32_t kNoWindowAlert = 1;
constexpr uint32_t kFrameworkAlerts = 1000;
constexpr uint32_t kOutOfMemoryAlert = 0;
constexpr uint32_t kInternalErrorAlert = 94; // table 129

std::string DefaultName(const CSoundDocument& document, const std::string& remembered)
{
    if (!remembered.empty())
        return remembered;
    return CFileSpec::BaseName(document.Sound()->Name());
}

bool RunExport(const SSamplerModel& model, CSoundDocument& document, STransmitServices& services,
               SSoftwareDestinationMemory& memory)
{
    if (model.typeId == kNewWindowModel)
        return OpenSlicesInNewWindows(document, services) > 0;
    CExportJob job = MakeExportJob(document);
    switch (model.typeId) {
    case kSoundFontModel: {
        CSoundFontExportDialog dialog(DefaultName(document, memory.soundFontName), services.parent);
        const int answer = dialog.Ask();
        if (answer == CInstrumentExportDialog::kCancel)
            return false;
        memory.soundFontName = dialog.Name();
        const SoundFontExportOptions options{dialog.Name(), answer == CInstrumentExportDialog::kMidiFileAndExport};
        return ExportSoundFont(job, options, services.questions, services.progress) == ExportOutcome::Completed;
    }
    case kSampleCellModel: {
        CSampleCellExportDialog dialog(memory.sampleCell, services.parent);
        const int answer = dialog.Ask();
        if (answer == CInstrumentExportDialog::kCancel)
            return false;
        return ExportSampleCell(job, memory.sampleCell, answer == CInstrumentExportDialog::kMidiFileAndExport,
                                services.questions, services.progress) == ExportOutcome::Completed;
    }
    case kMixmanModel: {
        if (!MixmanExportAllowed(job)) {
            ShowAlert(AlertReference(kTransmitAlerts, kMixmanMetreAlert), {}, services.parent);
            return false;
        }
        CMixmanExportDialog dialog(DefaultName(document, memory.mixmanName), services.parent);
        if (dialog.Ask() == CInstrumentExportDialog::kCancel)
            return false;
        memory.mixmanName = dialog.Name();
        return ExportMixmanTrack(job, dialog.Name(), services.questions, services.progress) ==
               ExportOutcome::Completed;
    }
    case kSfzModel: {
        CSfzExportDialog dialog(DefaultName(document, memory.sfzName), services.parent);
        const int answer = dialog.Ask();
        if (answer == CInstrumentExportDialog::kCancel)
            return false;
        memory.sfzName = dialog.Name();
        SfzExportOptions options;
        options.name = dialog.Name();
        options.withMIDIFile = answer == CInstrumentExportDialog::kMidiFileAndExport;
        return ExportSfz(job, options, services.questions, services.progress) == ExportOutcome::Completed;
    }
    case kHydrogenKitModel: {
        CHydrogenKitExportDialog dialog(DefaultName(document, memory.hydrogenKitName), services.parent);
        if (dialog.Ask() == CInstrumentExportDialog::kCancel)
            return false;
        memory.hydrogenKitName = dialog.Name();
        return ExportHydrogenKit(job, dialog.Name(), services.questions, services.progress) ==
               ExportOutcome::Completed;
    }
    default:
        return false;
    }
}

} // namespace

int OpenSlicesInNewWindows(CSoundDocument& document, STransmitServices& services)
{
    const CExportJob job = MakeExportJob(document);
    const int count = job.OutputCount();
    if (count > 1) {
        const std::string text = std::to_string(count);
        if (ShowAlert(AlertReference(kTransmitAlerts, kManyWindowsAlert), {text}, services.parent) !=
            AlertResultForSlot(0)) // "Yes"
            return 0;
    }
    const std::string base = CFileSpec::BaseName(document.Sound()->Name());
    int opened = 0;
    try {
        for (int k = 0; k < count; ++k) {
            std::unique_ptr<WAVE_SAMPLE> sound = job.GetOutput(k);
            sound->SetName(base + " " + std::to_string(k + 1));
            auto slice = std::make_unique<CSoundDocument>(std::move(sound), services.settings.documentDefaults,
                                                          services.settings.application.barsToOneInNewDocuments);
            services.openWindow(std::move(slice));
            ++opened;
        }
    } catch (const std::bad_alloc&) {
        ShowAlert(AlertReference(kTransmitAlerts, kNoWindowAlert), {}, services.parent);
    } catch (const XOutOfMemory&) {
        ShowAlert(AlertReference(kTransmitAlerts, kNoWindowAlert), {}, services.parent);
    }
    return opened;
}

bool TransmitToSoftwareDestination(const SSamplerModel& model, CSoundDocument& document,
                                   STransmitServices& services, SSoftwareDestinationMemory& memory)
{
    try {
        return RunExport(model, document, services, memory);
    } catch (const XExportFailed& failed) {
        ShowAlert(AlertReference(static_cast<uint32_t>(failed.Table()), static_cast<uint32_t>(failed.Alert())), {},
                  services.parent);
    } catch (const XOutOfMemory&) {
        ShowAlert(AlertReference(kFrameworkAlerts, kOutOfMemoryAlert), {}, services.parent);
    } catch (const std::bad_alloc&) {
        ShowAlert(AlertReference(kFrameworkAlerts, kOutOfMemoryAlert), {}, services.parent);
    } catch (const XBase&) {
        ShowAlert(AlertReference(129, kInternalErrorAlert), {}, services.parent);
    }
    return false;
}

} // namespace quorvel
