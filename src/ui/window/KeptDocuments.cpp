#include "ui/window/KeptDocuments.h"

#include <filesystem>

#include "document/SoundDocument.h"
#include "fileformats/DocumentFile.h"
#include "fileformats/FileTypes.h"
#include "fileformats/PreferencesFile.h"

namespace quorvel {

std::string KeptDocumentsFolder() { return PreferencesFolder() + "/Kept Documents"; }

std::string KeepDocument(CSoundDocument& document)
{
    const std::string folder = KeptDocumentsFolder();
    std::filesystem::create_directories(folder);
    const std::string name = document.Sound() ? CFileSpec::BaseName(document.Sound()->Name()) : std::string();
    const std::string base = folder + "/" + (name.empty() ? std::string("Untitled") : name);
    const std::string extension = FirstExtension(filetypes::kDocument);
    std::string path = base + extension;
    for (int number = 2; std::filesystem::exists(std::filesystem::symlink_status(path)); ++number)
        path = base + " " + std::to_string(number) + extension;
    SaveDocument(document, CFileSpec(path));
    return path;
}

} // namespace quorvel
