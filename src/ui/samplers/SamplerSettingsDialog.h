#pragma once
// The Sampler Settings dialog: the installed samplers with their model,
// ports, ids and system version; Add, Rename and Remove. The MIDI popups
// offer the registered ports, the SCSI bus popup the registered buses.
// Changes apply to the registry as they are made.
#include <cstddef>
#include <string>
#include <vector>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "framework/window/ModalDialog.h"
#include "samplers/InstalledSamplers.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quorvel {

class CSamplerSettingsDialog : public CModalDialog {
    Q_OBJECT
public:
    // Without port lists the MIDI popups say that no MIDI is available, and
    // without buses the SCSI bus popup says that no SCSI is available.
    explicit CSamplerSettingsDialog(CInstalledSamplers& samplers, QWidget* parent = nullptr);
    // The buses are read once, when the dialog opens.
    CSamplerSettingsDialog(CInstalledSamplers& samplers, const CMIDIPortLists& midiPorts, QWidget* parent = nullptr);
    CSamplerSettingsDialog(CInstalledSamplers& samplers, const CMIDIPortLists& midiPorts,
                           const CSCSIBusRegistry& scsiBuses, QWidget* parent = nullptr);

    // What Find does: searches the ports and buses and offers each sampler
    // found; returns how many were installed.
    size_t FindSamplers();

    // What the Add dialog does once a model and a name are chosen; alert 64
    // for an empty name. True when added.
    bool AddSampler(const SSamplerModel& model, const std::string& userName);
    bool RenameSelected(const std::string& userName);
    // Asks alert 60 first.
    void RemoveSelected();

    void Select(size_t index);
    QListWidget* List() const { return list_; }
    QComboBox* SysexIds() const { return sysexIds_; }
    QComboBox* MidiIn() const { return midiIn_; }
    QComboBox* MidiOut() const { return midiOut_; }
    QComboBox* ScsiBus() const { return scsiBus_; }
    QLabel* VersionText() const { return version_; }
    // Shown beside the version when it is older than the model needs.
    QLabel* VersionWarning() const { return versionWarning_; }
    QLabel* Picture() const { return picture_; }
    QLabel* Info() const { return info_; }
    QComboBox* ScsiId() const { return scsiId_; }
    QPushButton* FindButton() const { return find_; }

    // The SysEx ID popup's entries for a model: min(count, 16), from 1 when
    // the model numbers them so.
    static QStringList SysexIdLabels(const SSamplerModel& model);

private:
    void Fill();
    void FitListToEntries();
    void ShowSelected();
    void AskAdd();
    void AskRename();
    CPersistentInstalledSampler* Selected();

    CInstalledSamplers& samplers_;
    std::vector<SDeviceName> midiInputs_;
    std::vector<SDeviceName> midiOutputs_;
    std::vector<SDeviceName> scsiBuses_;
    QListWidget* list_ = nullptr;
    QLabel* model_ = nullptr;
    QLabel* info_ = nullptr;
    QComboBox* midiIn_ = nullptr;
    QComboBox* midiOut_ = nullptr;
    QComboBox* scsiBus_ = nullptr;
    QComboBox* scsiId_ = nullptr;
    QComboBox* sysexIds_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* versionWarning_ = nullptr;
    QLabel* picture_ = nullptr;
    QPushButton* find_ = nullptr;
    const CMIDIPortLists& midiPorts_;
    const CSCSIBusRegistry& scsiBusRegistry_;
    QPushButton* rename_ = nullptr;
    QPushButton* remove_ = nullptr;
};

} // namespace quorvel
