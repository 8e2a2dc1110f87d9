#pragma once
// What the application lends its document windows: the one wave player and
// the sound output it plays through, the settings, the file dialogs, the
// lengthy-operation services and the registered MIDI ports.
#include <functional>
#include <memory>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "playback/SoundSystem.h"
#include "playback/WavePlayer.h"
#include "samplers/InstalledSamplers.h"
#include "ui/ApplicationPreferences.h"
#include "ui/app/QtSoundAlerts.h"
#include "ui/samplers/SamplerFlowServices.h"
#include "ui/samplers/SoftwareTransmit.h"
#include "ui/window/WindowServices.h"

namespace quorvel {

class CApplicationServices final : public CWindowServices {
public:
    // The player counts as one of `lengthy.loop`'s idle users while it
    // plays. `alertParent` (may be null) centres the sound alerts.
    CApplicationServices(SLengthyOperationServices lengthy, QWidget* alertParent);
    ~CApplicationServices() override;

    CWavePlayer& Player() override { return player_; }
    bool SoundAvailable() override { return sound_.SoundEnabled(); }
    SSettings& Settings() override { return settings_; }
    CFileDialogs& FileDialogs() override;
    SLengthyOperationServices LengthyOperations() override { return lengthy_; }

    // The current transmit target: a software destination, or an installed
    // sampler whose model transmits and whose brand this program speaks.
    bool TransmitAvailable() override;
    void Transmit(CSoundDocument& document, QWidget* parent) override;
    void ExportInstrument(uint32_t modelTypeId, CSoundDocument& document, QWidget* parent) override;
    // Receive from the current installed sampler into a new window.
    bool ReceiveAvailable();
    void Receive(QWidget* parent);
    // How the flow reaches an installed sampler; tests put a double here.
    void SetSamplerInterfaceFactory(SamplerInterfaceFactory factory) { interfaceFactory_ = std::move(factory); }

    CSoundSystem& Sound() { return sound_; }
    CInstalledSamplers& Samplers() { return samplers_; }
    // The MIDI ports the application registered; empty lists before then.
    const CMIDIPortLists& MidiPorts() const;
    // Not owned; must outlive the services.
    void SetMidiPorts(const CMIDIPortLists* ports) { midiPorts_ = ports; }
    // The SCSI buses the application registered; none before then.
    const CSCSIBusRegistry& ScsiBuses() const;
    // Not owned; must outlive the services.
    void SetScsiBuses(const CSCSIBusRegistry* buses) { scsiBuses_ = buses; }
    // How New Window opens each slice; set by the application.
    void SetWindowOpener(std::function<void(std::unique_ptr<CSoundDocument>)> opener)
    {
        openWindow_ = std::move(opener);
    }
    // Not owned; must outlive every window. Without one, every save and
    // export question is answered with Cancel.
    void SetFileDialogs(CFileDialogs* dialogs) { fileDialogs_ = dialogs; }

private:
    SSamplerFlowServices FlowServices(QWidget* parent);
    void ExportToSoftwareDestination(const SSamplerModel& model, CSoundDocument& document, QWidget* parent);

    SLengthyOperationServices lengthy_;
    SSettings settings_;
    CWavePlayer player_;
    CQtSoundAlerts alerts_;
    CSoundSystem sound_;
    CFileDialogs* fileDialogs_ = nullptr;
    CInstalledSamplers samplers_;
    const CMIDIPortLists* midiPorts_ = nullptr;
    const CSCSIBusRegistry* scsiBuses_ = nullptr;
    SSoftwareDestinationMemory transmitMemory_;
    SSamplerDialogMemory samplerMemory_;
    SamplerInterfaceFactory interfaceFactory_;
    std::function<void(std::unique_ptr<CSoundDocument>)> openWindow_;
};

} // namespace quorvel
