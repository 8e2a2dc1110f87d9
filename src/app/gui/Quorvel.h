#pragma once
// The program's application object: start-up in its fixed order, the
// application's own commands, documents named on the command line or handed
// over by a second copy, and shut-down with the frame's placement saved.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "framework/window/Application.h"

namespace quorvel {
class CApplicationServices;
class CEmulatedSamplers;
class CDocumentOpener;
class CIdleUser;
class CQuorvelWindow;
class CQtFileDialogs;
} // namespace quorvel

namespace quorvel::gui {

class CWhenExposed;

class CQuorvel final : public CApplication {
public:
    static constexpr uint32_t kCmdOpen = 1000;
    static constexpr uint32_t kCmdQuit = 1008;
    static constexpr uint32_t kCmdPreferences = 1104;
    static constexpr uint32_t kCmdSamplerSettings = 1105;
    static constexpr uint32_t kCmdTransmit = 1200;
    static constexpr uint32_t kCmdReceive = 1201;
    static constexpr uint32_t kCmdSystemInformation = 1405;
    static constexpr uint32_t kCmdAbout = 1406;

    // Menu references of resource 128: the menu bar in order, then the popups.
    static constexpr uint32_t kMenuFile = 600128001;
    static constexpr uint32_t kMenuEdit = 600128002;
    static constexpr uint32_t kMenuSampler = 600128003;
    static constexpr uint32_t kMenuWindows = 600128007;
    static constexpr uint32_t kMenuHelp = 600128004;
    static constexpr uint32_t kPopupBeats = 600128009;
    static constexpr uint32_t kPopupTimeSignature = 600128010;

    // `commandLine` names the files to open at start.
    CQuorvel(QApplication& qt, std::string commandLine, bool quitAfterStart);
    ~CQuorvel() override;

    // Before Run: play through the silent card alone, capturing what it
    // plays into `captureFile` when that is not empty (tests, scripted runs).
    void UseSilentCardOnly(std::string captureFile = {});

    // A command line handed over by a later copy: brings the frame forward
    // and opens what it names. Before start-up has finished it waits.
    void ReceiveCommandLine(const std::string& commandLine);
    // What the Quit command does: stop playback, then ask to quit.
    void Quit();
    // The session ends (SIGTERM, logout): open questions end as cancelled,
    // none is asked any more, documents that would ask to be saved are kept
    // (KeptDocuments.h), the preferences are written and the program ends.
    void EndSession();

    // The open document windows, front one first.
    std::vector<CQuorvelWindow*> DocumentWindows();
    CApplicationServices& Services() { return *services_; }

    bool SoundAvailable() const;
    // The MIDI ports registered at start-up, with those of the emulated
    // samplers asked for in the environment.
    const CMIDIPortLists& MidiPorts() const { return midiPorts_; }
    // The SCSI buses registered at start-up: the Linux SG buses, and the
    // Loopback bus when SCSI emulators are asked for.
    const CSCSIBusRegistry& ScsiBuses() const { return scsiBuses_; }
    // The text the System Information dialog shows.
    std::string SystemReport();
    bool MidiAvailable() const { return midiAvailable_; }
    bool ScsiAvailable() const { return scsiAvailable_; }

protected:
    void ShowFrameWindow() override;
    bool Initialise() override;
    std::unique_ptr<CMenuBar> CreateMenuBar() override;
    void OpenStartDocuments() override;
    void Terminate() override;
    void IdleStep() override;
    bool HandleCommand(uint32_t command) override;
    SCommandStatus CommandStatus(uint32_t command) override;

private:
    bool RegisterSoundCards();
    // The MIDI ports, the SCSI buses and the emulated samplers; sets
    // midiAvailable_ and scsiAvailable_.
    void RegisterDevices();
    void StopPlayback();
    void InstallMenuUpdaters();
    void OpenCommandLine(const std::string& commandLine, bool atStart);
    bool OpenDocument(const std::string& path);
    // Files dropped on the frame or a document window, each opened as one
    // named on the command line.
    void OpenDropped(const std::vector<std::string>& paths);
    void StartWithoutDocuments();
    void ChooseAndOpen();
    void OpenRecent(size_t index);
    void ShowSystemInformation();
    void WindowOpened(CQuorvelWindow& window);
    void BringFrameForward();
    void UpdateSamplerMenu(CMenu& menu);

    std::string startCommandLine_;
    bool quitAfterStart_;
    bool silentCardOnly_ = false;
    std::string captureFile_;
    bool started_ = false;
    std::vector<std::string> waitingCommandLines_;
    bool midiAvailable_ = false;
    bool scsiAvailable_ = false;
    bool browserAvailable_ = false;
    // Before the services and windows that use them; the emulators go
    // before the ports they are wired to.
    CMIDIPortLists midiPorts_;
    CSCSIBusRegistry scsiBuses_;
    std::unique_ptr<CEmulatedSamplers> emulatedSamplers_;
    std::unique_ptr<CQtFileDialogs> fileDialogs_;
    std::unique_ptr<CApplicationServices> services_;
    std::unique_ptr<CDocumentOpener> opener_;
    // One idle user while any document window is open, so the play cursor
    // and the transport buttons follow playback.
    int openWindows_ = 0;
    std::unique_ptr<CIdleUser> windowsIdleUser_;
    std::unique_ptr<CMenuBar> menus_;
    std::unique_ptr<CMenu> beatsPopup_;
    std::unique_ptr<CMenu> timeSignaturePopup_;
    std::unique_ptr<CWhenExposed> whenShown_;
    // The Sampler menu's own Transmit and Receive texts, for when no sampler
    // is installed.
    std::optional<QString> transmitText_;
    std::optional<QString> receiveText_;
};

} // namespace quorvel::gui
