#pragma once
// The document window's private parts, shared by the files that implement
// it (controls and display, commands and keys, what the views report).
#include <QApplication>
#include <QObject>

#include <memory>
#include <string>

#include "document/SoundDocument.h"
#include "playback/PlayCommands.h"
#include "playback/WavePlayer.h"
#include "ui/views/ViewActions.h"
#include "ui/window/DocumentCommands.h"
#include "ui/window/HeldKeys.h"
#include "ui/window/QuorvelWindow.h"

namespace quorvel {

class CWaveformPane;
class CWindowControls;
class CWindowServices;

// What the views report, turned into tools, selection and playing.
class CQuorvelWindow::ViewActions final : public CViewActions {
public:
    explicit ViewActions(CQuorvelWindow& window) : window_(window) {}

    void SliceHandlePressed(CSlice& slice, bool shift) override;
    void SliceStripEmptyPressed(bool shift) override;
    void SliceStripDragged(int32_t from, int32_t to) override;
    void WaveformClicked(int32_t frame) override;
    void PenReleased(int32_t frame) override;
    void LocatorsMoved(bool leftHandleDragged) override;
    int32_t CursorPosition() override;
    bool Playing() override;

private:
    CQuorvelWindow& window_;
};

// The player's word that this window's playback started or stopped.
class CQuorvelWindow::PlaybackNotifier final : public CWavePlayerNotifier {
public:
    explicit PlaybackNotifier(CQuorvelWindow& window) : window_(window) {}
    void PlaybackStopped() override { window_.RefreshTransport(); }
    void PlaybackStarted() override { window_.RefreshTransport(); }

private:
    CQuorvelWindow& window_;
};

// Keys reach the window whichever of its controls has the focus, except
// while the user types in a text field. A filter of its own on the
// application, so the window's own event filtering is left as it is. It
// follows which keys are down; a key released while the focus is elsewhere
// is never seen, so losing the focus forgets them all.
class CQuorvelWindow::KeyFilter final : public QObject {
public:
    explicit KeyFilter(CQuorvelWindow& window);
    ~KeyFilter() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CQuorvelWindow& window_;
    CHeldKeys held_;
};

struct CQuorvelWindow::Parts {
    Parts(CQuorvelWindow& window, std::unique_ptr<CSoundDocument> doc, CWindowServices& svc)
        : document(std::move(doc)),
          services(svc),
          actions(window),
          notifier(window),
          commands(*document, services.Player(), &notifier),
          files(*document, services, &window),
          keys(window)
    {
    }

    std::unique_ptr<CSoundDocument> document;
    CWindowServices& services;
    ViewActions actions;
    PlaybackNotifier notifier;
    CPlayCommands commands;
    CDocumentCommands files;
    KeyFilter keys;
    CWindowControls* controls = nullptr;
    CWaveformPane* pane = nullptr;
    std::string shownTitle;
    bool destroying = false;
};

} // namespace quorvel
