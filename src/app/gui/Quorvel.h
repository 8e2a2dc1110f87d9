#pragma once
// The program's application object: start-up in its fixed order, the
// application's own commands, documents named on the command line or handed
// over by a second copy, and shut-down with the frame's placement saved.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/window/Application.h"

namespace quorvel::gui {

class CWhenExposed;

class CQuorvel final : public CApplication {
public:
    static constexpr uint32_t kCmdQuit = 1008;

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

    // A command line handed over by a later copy: brings the frame forward
    // and opens what it names. Before start-up has finished it waits.
    void ReceiveCommandLine(const std::string& commandLine);
    // What the Quit command does: stop playback, then ask to quit.
    void Quit();

    // Files given to be opened, in order (documents themselves come later).
    const std::vector<std::string>& RequestedDocuments() const { return requestedDocuments_; }

    bool SoundAvailable() const { return soundAvailable_; }
    bool MidiAvailable() const { return midiAvailable_; }
    bool ScsiAvailable() const { return scsiAvailable_; }

protected:
    void ShowFrameWindow() override;
    bool Initialise() override;
    std::unique_ptr<CMenuBar> CreateMenuBar() override;
    void OpenStartDocuments() override;
    void Terminate() override;
    bool HandleCommand(uint32_t command) override;
    SCommandStatus CommandStatus(uint32_t command) override;

private:
    void OpenCommandLine(const std::string& commandLine);
    bool OpenDocument(const std::string& path);
    void StartWithoutDocuments();
    void BringFrameForward();

    std::string startCommandLine_;
    bool quitAfterStart_;
    bool started_ = false;
    std::vector<std::string> waitingCommandLines_;
    std::vector<std::string> requestedDocuments_;
    bool soundAvailable_ = false;
    bool midiAvailable_ = false;
    bool scsiAvailable_ = false;
    std::unique_ptr<CMenuBar> menus_;
    std::unique_ptr<CMenu> beatsPopup_;
    std::unique_ptr<CMenu> timeSignaturePopup_;
    std::unique_ptr<CWhenExposed> whenShown_;
};

} // namespace quorvel::gui
