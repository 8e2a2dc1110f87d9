#include "ui/app/DocumentOpener.h"

#include <new>

#include "fileformats/DocumentFile.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/ImportLimits.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "framework/window/FrameWindow.h"
#include "ui/app/ApplicationServices.h"
#include "ui/app/LeftMixRightDialog.h"
#include "ui/window/QuorvelWindow.h"

namespace quorvel {

namespace {

constexpr uint32_t kTable = 129;
constexpr uint32_t kQLXRefused = 9;
constexpr uint32_t kSoundUnreadable = 25;
constexpr uint32_t kDocumentUnreadable = 26;
constexpr uint32_t kNotEnoughMemory = 0; // framework table

} // namespace

CDocumentOpener::CDocumentOpener(CFrameWindow& frame, CApplicationServices& services, WindowOpened opened)
    : frame_(frame), services_(services), opened_(std::move(opened))
{
}

CQuorvelWindow* CDocumentOpener::Open(const std::string& path, OpenOrigin origin, std::optional<ChannelMode> mode)
{
    const CFileSpec file(path);
    OpenedDocument opened;
    try {
        if (!mode) {
            // The limits first: a refused file never asks which channel.
            const SoundFileInfo info = ReadSoundInfo(file);
            CheckImportLimits(info);
            mode = ChannelMode::Left;
            if (info.channels == 2) {
                mode = CLeftMixRightDialog::Ask(&frame_);
                if (!mode)
                    return nullptr;
            }
        }
        const SSettings& settings = services_.Settings();
        opened = OpenSoundOrDocument(file, *mode, settings.documentDefaults,
                                     settings.application.barsToOneInNewDocuments);
    } catch (...) {
        ReportFailure(path, origin);
        return nullptr;
    }

    if (opened.alert != 0)
        ShowAlert(AlertReference(kTable, static_cast<uint32_t>(opened.alert)), {}, &frame_);
    return Show(std::move(opened.document));
}

CQuorvelWindow* CDocumentOpener::Show(std::unique_ptr<CSoundDocument> document)
{
    auto* window = new CQuorvelWindow(std::move(document), services_);
    // The window puts its file on the recent list when it closes.
    frame_.AddDocumentWindow(window);
    if (opened_)
        opened_(*window);
    window->OfferLeftLocatorMove();
    return window;
}

void CDocumentOpener::ReportFailure(const std::string& path, OpenOrigin origin)
{
    try {
        throw;
    } catch (const XUnsupportedFileType& limit) {
        // The limit's own alert says more than "unknown format or corrupt".
        ShowAlert(AlertReference(kTable, static_cast<uint32_t>(limit.AlertNumber())), {}, &frame_);
    } catch (const XQLXUnsupportedFileType&) {
        ShowAlert(AlertReference(kTable, kQLXRefused), {}, &frame_);
    } catch (const XOutOfMemory&) {
        ShowAlert(AlertReference(kFrameworkTable, kNotEnoughMemory), {}, &frame_);
    } catch (const std::bad_alloc&) {
        ShowAlert(AlertReference(kFrameworkTable, kNotEnoughMemory), {}, &frame_);
    } catch (...) {
        if (origin == OpenOrigin::CommandLine)
            ShowAlert(AlertReference(kTable, kSoundUnreadable), {CFileSpec(path).Name()}, &frame_);
        else
            ShowAlert(AlertReference(kTable, kDocumentUnreadable), {}, &frame_);
    }
}

} // namespace quorvel
