#include "ui/app/ApplicationServices.h"

#include "document/SoundDocument.h"
#include "framework/FileSpec.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/window/ExportPrompts.h"

namespace quorvel {

namespace {

// Stands in until real dialogs are given: every question is cancelled.
class CCancellingFileDialogs final : public CFileDialogs {
public:
    std::optional<std::string> AskSaveFile(const SSaveFileRequest&) override { return std::nullopt; }
    std::optional<SSoundExportChoice> AskExportSound(const std::string&, int32_t, const std::string&) override
    {
        return std::nullopt;
    }
};

} // namespace

CApplicationServices::CApplicationServices(SLengthyOperationServices lengthy, QWidget* alertParent)
    : lengthy_(lengthy), player_(&lengthy.loop), alerts_(alertParent), sound_(player_, alerts_)
{
}

CApplicationServices::~CApplicationServices()
{
    // The channel's thread renders through the player: silence it first.
    player_.Stop();
}

CFileDialogs& CApplicationServices::FileDialogs()
{
    static CCancellingFileDialogs cancelling;
    return fileDialogs_ ? *fileDialogs_ : cancelling;
}

const CMIDIPortLists& CApplicationServices::MidiPorts() const
{
    static const CMIDIPortLists none;
    return midiPorts_ ? *midiPorts_ : none;
}

const CSCSIBusRegistry& CApplicationServices::ScsiBuses() const
{
    static const CSCSIBusRegistry none;
    return scsiBuses_ ? *scsiBuses_ : none;
}

bool CApplicationServices::TransmitAvailable()
{
    const SSamplerModel* model = samplers_.CurrentModel();
    return model != nullptr && model->canTransmit &&
           (IsSoftwareDestination(*model) || SamplerBrandBuilt(model->typeId));
}

bool CApplicationServices::ReceiveAvailable()
{
    const SSamplerModel* model = samplers_.CurrentModel();
    return model != nullptr && model->canReceive && !IsSoftwareDestination(*model) &&
           SamplerBrandBuilt(model->typeId);
}

SSamplerFlowServices CApplicationServices::FlowServices(QWidget* parent)
{
    SamplerInterfaceFactory factory =
        interfaceFactory_ ? interfaceFactory_ : InstalledInterfaceFactory(SSamplerDevices{MidiPorts(), ScsiBuses()});
    return SSamplerFlowServices{std::move(factory), lengthy_, openWindow_, settings_, samplerMemory_, parent};
}

void CApplicationServices::Transmit(CSoundDocument& document, QWidget* parent)
{
    const SSamplerModel* model = samplers_.CurrentModel();
    if (model == nullptr)
        return;
    if (!IsSoftwareDestination(*model)) {
        if (!TransmitAvailable())
            return;
        SSamplerFlowServices flow = FlowServices(parent);
        TransmitToInstalled(*samplers_.Current(), STransmitRequest{document}, flow);
        return;
    }
    ExportToSoftwareDestination(*model, document, parent);
}

void CApplicationServices::ExportInstrument(uint32_t modelTypeId, CSoundDocument& document, QWidget* parent)
{
    const SSamplerModel* model = FindSamplerModel(modelTypeId);
    if (model != nullptr && IsSoftwareDestination(*model))
        ExportToSoftwareDestination(*model, document, parent);
}

void CApplicationServices::ExportToSoftwareDestination(const SSamplerModel& model, CSoundDocument& document,
                                                       QWidget* parent)
{
    const std::string folder = document.DocumentFile()   ? CFileSpec(*document.DocumentFile()).Folder()
                               : document.SourceFile() ? CFileSpec(*document.SourceFile()).Folder()
                                                       : std::string();
    CWindowExportQuestions questions(FileDialogs(), CFileSpec::BaseName(document.Sound()->Name()), folder, parent);
    CLengthyExportProgress progress(lengthy_);
    STransmitServices services{questions, progress, openWindow_, settings_, parent};
    TransmitToSoftwareDestination(model, document, services, transmitMemory_);
}

void CApplicationServices::Receive(QWidget* parent)
{
    if (!ReceiveAvailable())
        return;
    SSamplerFlowServices flow = FlowServices(parent);
    ReceiveFromInstalled(*samplers_.Current(), flow);
}

} // namespace quorvel
