#include "Quorvel.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <QAction>
#include <QMenu>

#include "devices/emulated/DevicesAtStartUp.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/midi/MIDIPortRegistration.h"
#include "document/SoundDocument.h"
#include "fileformats/PreferencesFile.h"
#include "framework/CommandLine.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "playback/NullSoundCard.h"
#include "ui/app/ApplicationMenuItems.h"
#include "ui/app/ApplicationMenus.h"
#include "ui/app/ApplicationServices.h"
#include "ui/app/DocumentOpener.h"
#include "ui/app/HelpCommands.h"
#include "ui/app/HelpLocations.h"
#include "ui/app/InformationDialogs.h"
#include "ui/app/OpenAudioDialog.h"
#include "ui/app/PreferencesStore.h"
#include "ui/preferences/PreferencesDialog.h"
#include "ui/samplers/SamplerSettingsDialog.h"
#include "ui/samplers/SamplerVerificationUI.h"
#include "ui/views/WaveformPane.h"
#include "ui/app/SystemReport.h"
#include "ui/window/QtFileDialogs.h"
#include "ui/window/QuorvelWindow.h"

#include "EventTrace.h"
#include "FramePlacement.h"
#include "JackPlaybackPorts.h"
#include "StartupHooks.h"
#include "WhenExposed.h"

namespace quorvel::gui {

namespace {

constexpr uint32_t kTable = 129;
constexpr uint32_t kNoSoundAvailable = 1;
constexpr uint32_t kFileNotFound = 17;

bool InRange(uint32_t command, uint32_t first, size_t count) { return command >= first && command - first < count; }

} // namespace

CQuorvel::CQuorvel(QApplication& qt, std::string commandLine, bool quitAfterStart)
    : CApplication(qt, "Quorvel"), startCommandLine_(std::move(commandLine)), quitAfterStart_(quitAfterStart)
{
    fileDialogs_ = std::make_unique<CQtFileDialogs>(&Frame());
    services_ = std::make_unique<CApplicationServices>(LengthyOperationServices(), &Frame());
    services_->SetFileDialogs(fileDialogs_.get());
    opener_ = std::make_unique<CDocumentOpener>(Frame(), *services_,
                                                [this](CQuorvelWindow& window) { WindowOpened(window); });
    services_->SetWindowOpener([this](std::unique_ptr<CSoundDocument> document) {
        if (opener_->Show(std::move(document)) == nullptr)
            throw std::bad_alloc();
    });
    // Closing the frame is the same as choosing Quit: documents are asked first.
    Frame().SetCloseRequestHandler([this] { Quit(); });
    Frame().SetFileDropHandler([this](const std::vector<std::string>& paths) { OpenDropped(paths); });
}

CQuorvel::~CQuorvel()
{
    // The windows use the services; they go first, whether the loop closed
    // them or not.
    for (QMdiSubWindow* window : Frame().Area().subWindowList())
        delete window;
}

void CQuorvel::UseSilentCardOnly(std::string captureFile)
{
    silentCardOnly_ = true;
    captureFile_ = std::move(captureFile);
}

void CQuorvel::ShowFrameWindow()
{
    whenShown_ = std::make_unique<CWhenExposed>(Frame(), [this] {
        const QRect placed = Frame().geometry();
        Trace("shown " + std::to_string(placed.x()) + ' ' + std::to_string(placed.y()) + ' ' +
              std::to_string(placed.width()) + ' ' + std::to_string(placed.height()) + " stay-on-top " +
              (Frame().StayOnTop() ? "1" : "0"));
        if (quitAfterStart_)
            Quit();
    });
    // After the platform window exists (the watcher made it), so the stored
    // client rectangle is taken as one rather than as the outer frame.
    RestoreFramePlacement(Frame());
    CApplication::ShowFrameWindow();
}

bool CQuorvel::Initialise()
{
    InitialiseViewResources();
    // The operating-system version check has no counterpart here: any system
    // that runs this build is recent enough.
    ShowSplashScreen();

    CTextResources& texts = BuiltInTextResources();
    menus_ = std::make_unique<CMenuBar>();
    for (const uint32_t reference : {kMenuFile, kMenuEdit, kMenuSampler, kMenuWindows, kMenuHelp})
        menus_->Add(texts, reference);
    beatsPopup_ = std::make_unique<CMenu>(texts, kPopupBeats);
    timeSignaturePopup_ = std::make_unique<CMenu>(texts, kPopupTimeSignature);
    InstallMenuUpdaters();

    if (!RegisterSoundCards()) {
        CloseSplashScreen();
        return false;
    }
    RegisterDevices();
    CloseSplashScreen();
    // Before the preferences open the stored card.
    RestoreJackPlaybackPorts(services_->Sound().Registry());
    LoadPreferences(*services_, PreferencesFile(), &Frame());
    // A run that only starts and quits has nobody to answer the check's
    // questions.
    if (!quitAfterStart_)
        VerifySamplersAtStartUp(services_->Samplers(), SSamplerDevices{midiPorts_, scsiBuses_}, &Frame(), true);
    browserAvailable_ = WebBrowserAvailable();
    return true;
}

bool CQuorvel::RegisterSoundCards()
{
    CSoundSystem& sound = services_->Sound();
    bool usable = false;
    if (silentCardOnly_) {
        std::vector<std::unique_ptr<CRegisteredSoundCard>> cards;
        cards.push_back(std::make_unique<REGISTERED_NULL_SOUND_CARD>(captureFile_));
        usable = sound.RegisterCards(std::move(cards));
    } else {
        usable = sound.RegisterCards();
    }
    // The silent card is always usable, so this is a broken installation.
    if (!usable)
        ShowAlert(AlertReference(kTable, kNoSoundAvailable), {}, &Frame());
    return usable;
}

void CQuorvel::RegisterDevices()
{
    midiPorts_ = RegisterMIDIPorts();
    RegisterSCSIBusesAtStartUp(scsiBuses_);
    // Emulated samplers (QUORVEL_EMULATED_SAMPLERS) add their Loopback ports
    // and their targets on the Loopback bus.
    emulatedSamplers_ = StartEmulatedSamplersFromEnvironment(midiPorts_, scsiBuses_);
    services_->SetMidiPorts(&midiPorts_);
    services_->SetScsiBuses(&scsiBuses_);
    for (const std::string& port : MidiPortLines(midiPorts_))
        Trace("midi port " + port);
    for (size_t i = 0; i < scsiBuses_.Count(); ++i)
        Trace("scsi bus " + scsiBuses_.Bus(i)->Name() + " (" + scsiBuses_.Bus(i)->DriverName() + ")");
    midiAvailable_ = !midiPorts_.inputs.empty() && !midiPorts_.outputs.empty();
    scsiAvailable_ = scsiBuses_.Count() > 0;
}

void CQuorvel::InstallMenuUpdaters()
{
    if (CMenu* file = menus_->MenuWithCommand(kCmdOpen)) {
        file->SetUpdater([this](CMenu& menu) {
            const auto& paths = services_->Settings().recentDocuments.Paths();
            ShowRecentDocuments(menu, std::vector<std::string>(paths.begin(), paths.end()));
        });
    }
    if (CMenu* sampler = menus_->MenuWithCommand(kCmdReceive)) {
        sampler->SetUpdater([this](CMenu& menu) { UpdateSamplerMenu(menu); });
    }
    if (CMenu* windows = menus_->MenuWithCommand(kCmdCloseAll)) {
        windows->SetUpdater([this](CMenu& menu) {
            std::vector<std::string> titles;
            for (QMdiSubWindow* window : Frame().Area().subWindowList(QMdiArea::CreationOrder))
                titles.push_back(window->windowTitle().toStdString());
            ShowWindowList(menu, titles);
        });
    }
}

std::unique_ptr<CMenuBar> CQuorvel::CreateMenuBar()
{
    return std::move(menus_);
}

void CQuorvel::OpenStartDocuments()
{
    OpenCommandLine(startCommandLine_, true);
    started_ = true;
    Trace("started");
    for (const std::string& waiting : std::exchange(waitingCommandLines_, {}))
        ReceiveCommandLine(waiting);
}

void CQuorvel::Terminate()
{
    StopPlayback();
    StorePreferences(*services_, PreferencesFile(), &Frame());
    SaveFramePlacement(Frame());
    SaveJackPlaybackPorts(services_->Sound().Channel());
    Trace("quit");
}

void CQuorvel::IdleStep()
{
    // A sound server that ended is noticed here, at the latest on the first
    // idle step of the next playback.
    services_->Sound().CheckChannel();
    for (CQuorvelWindow* window : DocumentWindows())
        window->IdleStep();
    services_->Player().IdleStep();
}

bool CQuorvel::HandleCommand(uint32_t command)
{
    if (InRange(command, kCmdOpenRecentFirst, kMaxNumberedMenuItems)) {
        OpenRecent(command - kCmdOpenRecentFirst);
        return true;
    }
    if (InRange(command, kCmdShowWindowFirst, kMaxListedWindows)) {
        const QList<QMdiSubWindow*> windows = Frame().Area().subWindowList(QMdiArea::CreationOrder);
        if (const qsizetype index = command - kCmdShowWindowFirst; index < windows.size())
            Frame().Area().setActiveSubWindow(windows[index]);
        return true;
    }
    if (command >= kCmdFirstWebPage && command <= kCmdLastWebPage) {
        OpenWebPage(command, &Frame());
        return true;
    }
    if (InRange(command, kCmdChooseSamplerFirst, kMaxNumberedMenuItems)) {
        services_->Samplers().SetCurrentIndex(command - kCmdChooseSamplerFirst);
        return true;
    }
    switch (command) {
    case kCmdOpen:
        ChooseAndOpen();
        return true;
    case kCmdPreferences:
        if (CPreferencesDialog(services_->Settings(), &services_->Sound(), &Frame()).Edit())
            for (CQuorvelWindow* window : DocumentWindows())
                window->Pane().PreferencesChanged();
        return true;
    case kCmdSamplerSettings:
        CSamplerSettingsDialog(services_->Samplers(), services_->MidiPorts(), services_->ScsiBuses(), &Frame())
            .RunModal();
        return true;
    case kCmdReceive:
        services_->Receive(&Frame());
        return true;
    case kCmdQuit:
        Quit();
        return true;
    case kCmdHelpContents:
        OpenManual(&Frame());
        return true;
    case kCmdSystemInformation:
        ShowSystemInformation();
        return true;
    case kCmdAbout: {
        const QString version = QCoreApplication::applicationVersion();
        CAboutBox(version.isEmpty() ? std::string("0.1.0") : version.toStdString(), &Frame()).RunModal();
        return true;
    }
    default:
        return CApplication::HandleCommand(command);
    }
}

SCommandStatus CQuorvel::CommandStatus(uint32_t command)
{
    if (InRange(command, kCmdOpenRecentFirst, kMaxNumberedMenuItems))
        return {command - kCmdOpenRecentFirst < services_->Settings().recentDocuments.Paths().size(), false};
    if (InRange(command, kCmdShowWindowFirst, kMaxListedWindows)) {
        const QList<QMdiSubWindow*> windows = Frame().Area().subWindowList(QMdiArea::CreationOrder);
        const qsizetype index = command - kCmdShowWindowFirst;
        if (index >= windows.size())
            return {};
        return {true, windows[index] == Frame().Area().activeSubWindow()};
    }
    if (InRange(command, kCmdChooseSamplerFirst, kMaxNumberedMenuItems)) {
        const size_t index = command - kCmdChooseSamplerFirst;
        return {index < services_->Samplers().Count(), index == services_->Samplers().CurrentIndex()};
    }
    if (command >= kCmdFirstWebPage && command <= kCmdLastWebPage)
        return {browserAvailable_, false};
    switch (command) {
    case kCmdOpen:
    case kCmdQuit:
    case kCmdHelpContents:
    case kCmdSystemInformation:
    case kCmdAbout:
        return {true, false};
    case kCmdPreferences:
    // The software destinations need neither MIDI nor SCSI, so their
    // settings are open whatever the machine has.
    case kCmdSamplerSettings:
        return {true, false};
    case kCmdReceive:
        // Only hardware samplers send samples back.
        return {services_->ReceiveAvailable(), false};
    default:
        // The front window's commands, then the framework's arrangement
        // commands (enabled while there is a document window).
        return CApplication::CommandStatus(command);
    }
}

void CQuorvel::ReceiveCommandLine(const std::string& commandLine)
{
    if (!started_) {
        waitingCommandLines_.push_back(commandLine);
        return;
    }
    Trace("received " + commandLine);
    // Files handed over while the session ends would only be closed again.
    if (CModalDialog::AllCancelled())
        return;
    BringFrameForward();
    if (!commandLine.empty())
        OpenCommandLine(commandLine, false);
}

void CQuorvel::Quit()
{
    StopPlayback();
    RequestQuit();
    // The loop looks at the run state after a message; this one makes sure
    // there is a message even when the request came from outside the loop.
    QTimer::singleShot(0, &Frame(), [] {});
}

void CQuorvel::EndSession()
{
    Trace("session ends");
    // The dialogs' own loops return first; the main loop then finds the
    // quit request after the message that ran them.
    CModalDialog::CancelAllFromNowOn();
    Quit();
}

std::vector<CQuorvelWindow*> CQuorvel::DocumentWindows()
{
    std::vector<CQuorvelWindow*> windows;
    for (CDocumentWindow* window : Frame().DocumentWindows())
        if (auto* quorvelWindow = dynamic_cast<CQuorvelWindow*>(window); quorvelWindow && !window->Closing())
            windows.push_back(quorvelWindow);
    return windows;
}

bool CQuorvel::SoundAvailable() const { return services_->SoundAvailable(); }

void CQuorvel::StopPlayback() { services_->Player().Stop(); }

void CQuorvel::OpenCommandLine(const std::string& commandLine, bool atStart)
{
    bool opened = false;
    for (const std::string& path : ParseCommandLine(commandLine, IsExistingFile))
        opened = OpenDocument(path) || opened;
    // A later copy that opened nothing only brings the frame forward.
    if (!opened && atStart)
        StartWithoutDocuments();
}

void CQuorvel::OpenDropped(const std::vector<std::string>& paths)
{
    // Files dropped while the session ends would only be closed again.
    if (CModalDialog::AllCancelled())
        return;
    // Several files may come at once, as from the file manager's Open With:
    // an unreadable one is named in its alert and the others still open.
    for (const std::string& path : paths)
        OpenDocument(path);
}

bool CQuorvel::OpenDocument(const std::string& path)
{
    Trace("open " + path);
    if (!opener_->Open(path, OpenOrigin::CommandLine))
        return false;
    Trace("opened " + path);
    return true;
}

void CQuorvel::StartWithoutDocuments()
{
    if (quitAfterStart_ || !services_->Settings().application.showOpenDialogOnStartup)
        return;
    // From the loop, so that start-up completes (and a quit request or a
    // hand-over can still come first) before the dialog waits for the user.
    QTimer::singleShot(0, &Frame(), [this] {
        if (Loop().State() == RunState::kRunning && DocumentWindows().empty())
            ChooseAndOpen();
    });
}

void CQuorvel::ChooseAndOpen()
{
    const std::optional<SOpenChoice> choice =
        COpenAudioDialog::Ask(services_->Player(), services_->SoundAvailable(), &Frame());
    if (choice)
        opener_->Open(choice->path, OpenOrigin::OpenDialog, choice->mode);
}

void CQuorvel::OpenRecent(size_t index)
{
    CRecentDocuments& recent = services_->Settings().recentDocuments;
    if (index >= recent.Paths().size())
        return;
    const std::string path = recent.Paths()[index];
    if (!IsExistingFile(path)) {
        recent.RemoveAt(index);
        ShowAlert(AlertReference(kTable, kFileNotFound), {}, &Frame());
        return;
    }
    opener_->Open(path, OpenOrigin::RecentList);
}

std::string CQuorvel::SystemReport()
{
    SSystemFacts facts = GatherSystemFacts();
    const CSoundCardRegistry& cards = services_->Sound().Registry();
    for (uint16_t i = 0; i < cards.Count(); ++i)
        facts.soundCards.push_back(cards.CardAt(i)->Type() + ": " + cards.CardAt(i)->Name());
    facts.midiPorts = MidiPortLines(midiPorts_);
    facts.scsiBuses = ScsiBusLines(scsiBuses_);
    return FormatSystemReport(facts);
}

void CQuorvel::ShowSystemInformation()
{
    CSystemInformationDialog(SystemReport(), &Frame()).RunModal();
}

void CQuorvel::WindowOpened(CQuorvelWindow& window)
{
    if (openWindows_++ == 0)
        windowsIdleUser_ = std::make_unique<CIdleUser>(Loop());
    QObject::connect(&window, &QObject::destroyed, &Frame(), [this] {
        if (--openWindows_ == 0)
            windowsIdleUser_.reset();
    });
}

void CQuorvel::UpdateSamplerMenu(CMenu& menu)
{
    CInstalledSamplers& samplers = services_->Samplers();
    std::vector<std::string> names;
    for (const CPersistentInstalledSampler& sampler : samplers.Samplers())
        names.push_back(sampler.userName);
    ShowInstalledSamplers(menu, names);
    // Transmit and Receive name where they go.
    CTextResources& texts = BuiltInTextResources();
    const CPersistentInstalledSampler* current = samplers.Current();
    if (QAction* transmit = menu.FindCommand(kCmdTransmit)) {
        if (!transmitText_)
            transmitText_ = transmit->text();
        transmit->setText(current ? QString::fromStdString(TransmitMenuText(texts, *current)) + "..."
                                  : *transmitText_);
    }
    if (QAction* receive = menu.FindCommand(kCmdReceive)) {
        if (!receiveText_)
            receiveText_ = receive->text();
        const std::string text = current ? ReceiveMenuText(texts, *current) : std::string();
        receive->setText(text.empty() ? *receiveText_ : QString::fromStdString(text) + "...");
    }
}

void CQuorvel::BringFrameForward()
{
    if (Frame().isMinimized())
        Frame().showNormal();
    Frame().raise();
    Frame().activateWindow();
}

} // namespace quorvel::gui
