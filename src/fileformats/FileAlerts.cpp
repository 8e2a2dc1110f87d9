#include "fileformats/FileAlerts.h"

#include <map>

namespace quorvel {

std::string FileAlertText(int alert, const std::string& argument)
{
    static const std::map<int, std::string> texts{
        {9, "[Reading QLX files is not supported!]QLX files can only be exported from Quorvel! and used in other "
            "applications."},
        {20, "Sound files may not be longer than 5 minutes."},
        {21, "Quorvel! only supports 16-bit audio files."},
        {22, "Quorvel! only supports Mono and Stereo sound files."},
        {23, "Auto-play is limited to 30-second files."},
        {24, "[Couldn't load sound file!]The file is in an unknown format or corrupt."},
        {25, "[Couldn't load sound file \"^0\"!]The file is in an unknown format or corrupt."},
        {26, "[Couldn't load Quorvel! document file!]The file may be damaged."},
        {27, "[Couldn't load Quorvel! document file!]The Quorvel! information in this file is damaged. "
             "Extracting audio..."},
        {28, "[Couldn't load Quorvel! document file!]This file was created by a later version of Quorvel! "
             "Extracting audio..."},
        {45, "[Failed saving Quorvel! document!]You may have run out of memory or disk space."},
    };
    const auto found = texts.find(alert);
    if (found == texts.end())
        return {};
    std::string text = found->second;
    if (const auto at = text.find("^0"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

} // namespace quorvel
