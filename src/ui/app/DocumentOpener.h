#pragma once
// Opens a file as a new document window, or tells the user why it cannot:
// each file gets its own window; a document restores exactly, one with a
// damaged or newer slicing record opens as the sound alone after alert 27
// or 28; an unreadable file opens nothing and gives alert 25 (named) when
// it came from the command line, 26 from the open dialog or the recent list.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "fileformats/SoundImport.h"

namespace quorvel {

class CApplicationServices;
class CSoundDocument;
class CFrameWindow;
class CQuorvelWindow;

enum class OpenOrigin { CommandLine, OpenDialog, RecentList };

class CDocumentOpener {
public:
    using WindowOpened = std::function<void(CQuorvelWindow&)>;

    // `opened` runs for every new window once it is in the frame, before the
    // left-locator question. Both references must outlive the opener.
    CDocumentOpener(CFrameWindow& frame, CApplicationServices& services, WindowOpened opened = {});

    // `mode` is the open dialog's advance choice; without one a stereo file
    // asks CLeftMixRightDialog. Null when nothing was opened.
    CQuorvelWindow* Open(const std::string& path, OpenOrigin origin, std::optional<ChannelMode> mode = std::nullopt);
    // A document made in memory (a slice opened by New Window).
    CQuorvelWindow* Show(std::unique_ptr<CSoundDocument> document);

private:
    void ReportFailure(const std::string& path, OpenOrigin origin);

    CFrameWindow& frame_;
    CApplicationServices& services_;
    WindowOpened opened_;
};

} // namespace quorvel
