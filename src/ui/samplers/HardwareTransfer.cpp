#include "ui/samplers/HardwareTransfer.h"

#include "analysis/SliceSet.h"
#include "devices/midi/MIDIExceptions.h"
#include "fileformats/FileAlerts.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/akai/AKAIInterface.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/yamaha/A3000Interface.h"
#include "ui/samplers/A3000TransmitDialog.h"
#include "ui/samplers/AKAIReceiveDialog.h"
#include "ui/samplers/AKAITransmitDialog.h"
#include "ui/samplers/K2000ReceiveDialog.h"
#include "ui/samplers/K2000TransmitDialog.h"
#include "samplers/roland/S760Interface.h"
#include "ui/samplers/S760TransmitDialog.h"
#include "samplers/ensoniq/EnsoniqInterface.h"
#include "ui/samplers/EnsoniqTransmitDialog.h"
#include "ui/samplers/SamplerDialogs.h"
#include "ui/samplers/SamplerFailureAlerts.h"

namespace quorvel {

namespace {

constexpr uint32_t kTooManySlicesAlert = AlertReference(132, 2);

constexpr uint32_t kCannotOpenMIDIInAlert = AlertReference(129, 46);
constexpr uint32_t kCannotOpenMIDIOutAlert = AlertReference(129, 47);

void ShowHandlerFailure(const CPersistentInstalledSampler& sampler, QWidget* parent)
{
    // The installed sampler's ports open with its interface, where no port
    // dialog has spoken yet, so their alerts are said here.
    try {
        throw;
    } catch (const XFailedOpeningMIDIOut&) {
        ShowAlert(kCannotOpenMIDIOutAlert, {sampler.midiOut.device}, parent);
        return;
    } catch (const XFailedOpeningMIDIIn&) {
        ShowAlert(kCannotOpenMIDIInAlert, {sampler.midiIn.device}, parent);
        return;
    } catch (...) {
    }
    if (const std::optional<uint32_t> alert = HandlerFailureAlert(std::current_exception()))
        ShowAlert(*alert, {}, parent);
}

} // namespace

SamplerInterfaceFactory InstalledInterfaceFactory(const SSamplerDevices& devices)
{
    return [devices](const CPersistentInstalledSampler& sampler) { return CreateSamplerInterface(sampler, devices); };
}

int ConfirmSliceCount(int count, int maximum, QWidget* parent)
{
    if (count <= maximum)
        return count;
    const std::string script = BuiltInTextResources().AlertScript(kTooManySlicesAlert);
    CAlertBox box(CAlertContent(FillNumbers(script, {count, maximum, maximum})), parent);
    if (box.RunModal() != AlertResultForSlot(0)) // "OK"
        throw XSampleTransmitCancelled();
    return maximum;
}

bool TransmitToInstalled(const CPersistentInstalledSampler& sampler, const STransmitRequest& request,
                         SSamplerFlowServices& services)
{
    try {
        // Opened here and closed on every way out, ports and all.
        const std::unique_ptr<CABCSamplerInterface> device = services.createInterface(sampler);
        const CExportJob job = MakeExportJob(request.document);
        // The AKAI samplers build a program around the samples.
        if (auto* akai = dynamic_cast<CABCAKAIInterface*>(device.get()))
            return CAKAITransmitDialog::Run(sampler, *akai, job, services);
        // The Kurzweils make sound blocks, a keymap and a program.
        if (auto* kurzweil = dynamic_cast<CABCK2000Interface*>(device.get()))
            return CK2000TransmitDialog::Run(sampler, *kurzweil, job, services);
        // The A3000 groups the samples in a sample bank.
        if (auto* a3000 = dynamic_cast<CABCA3000Interface*>(device.get()))
            return CA3000TransmitDialog::Run(sampler, *a3000, job, services);
        // The S-760 builds a patch around them.
        if (auto* s760 = dynamic_cast<CABCS760Interface*>(device.get()))
            return CS760TransmitDialog::Run(sampler, *s760, job, services);
        // The Ensoniq samplers make an instrument of the waves; they are
        // received through the common dialog.
        if (auto* ensoniq = dynamic_cast<CABCEnsoniqInterface*>(device.get()))
            return CEnsoniqTransmitDialog::Run(sampler, *ensoniq, job, services);
        return CSamplerTransmitDialog::Run(sampler, *device, job, services);
    } catch (...) {
        ShowHandlerFailure(sampler, services.parent);
    }
    return false;
}

bool ReceiveFromInstalled(const CPersistentInstalledSampler& sampler, SSamplerFlowServices& services)
{
    try {
        const std::unique_ptr<CABCSamplerInterface> device = services.createInterface(sampler);
        if (auto* akai = dynamic_cast<CABCAKAIInterface*>(device.get()))
            return CAKAIReceiveDialog::Run(sampler, *akai, services);
        if (auto* kurzweil = dynamic_cast<CABCK2000Interface*>(device.get()))
            return CK2000ReceiveDialog::Run(sampler, *kurzweil, services);
        return CSamplerReceiveDialog::Run(sampler, *device, services);
    } catch (...) {
        ShowHandlerFailure(sampler, services.parent);
    }
    return false;
}

} // namespace quorvel
