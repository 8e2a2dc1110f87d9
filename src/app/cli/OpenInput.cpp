#include "app/cli/OpenInput.h"

#include <iostream>

#include "app/cli/CliError.h"
#include "fileformats/DocumentFile.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/FileTypes.h"
#include "fileformats/FormatExceptions.h"

namespace quorvel::cli {

namespace {

constexpr int kCouldNotLoadSound = 25;
constexpr int kQLXRefused = 9;

// Reports a failure to open in the user's terms.
[[noreturn]] void Refuse(const std::string& path)
{
    const std::string name = CFileSpec(path).Name();
    try {
        throw;
    } catch (const XUnsupportedFileType& limit) {
        throw CliError(kInputRefused, FileAlertText(limit.AlertNumber()));
    } catch (const XQLXUnsupportedFileType&) {
        throw CliError(kInputRefused, FileAlertText(kQLXRefused));
    } catch (const XBase&) {
        throw CliError(kInputRefused, FileAlertText(kCouldNotLoadSound, name));
    }
}

} // namespace

std::unique_ptr<CSoundDocument> OpenInput(const std::string& path, ChannelMode mode)
{
    try {
        OpenedDocument opened = OpenSoundOrDocument(CFileSpec(path), mode, DefaultDocumentOptions{}, false);
        if (opened.alert != 0)
            std::cerr << FileAlertText(opened.alert) << "\n";
        return std::move(opened.document);
    } catch (...) {
        Refuse(path);
    }
}

std::string InputTypeDescription(const std::string& path)
{
    try {
        SoundFileKindOf(CFileSpec(path).Name());
    } catch (...) {
        Refuse(path);
    }
    return FindFileType(CFileSpec(path).Name())->description;
}

} // namespace quorvel::cli
