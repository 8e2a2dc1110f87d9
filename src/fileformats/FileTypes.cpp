#include "fileformats/FileTypes.h"

#include <algorithm>
#include <cctype>

#include "framework/FileSpec.h"

namespace quorvel {

namespace filetypes {
const FileTypeSpec kText{"Text File", ".txt;.doc", "TEXT"};
const FileTypeSpec kBMP{"BMP Bitmap", ".bmp", "BMP "};
const FileTypeSpec kJPEG{"JPEG Bitmap", ".jpeg;.jpg", "JPEG"};
const FileTypeSpec kWave{"Wave File", ".wav;.wave", "WAVE"};
const FileTypeSpec kAIFF{"Audio IFF", ".aif;.aiff", "AIFF"};
const FileTypeSpec kMIDI{"Standard MIDI File", ".mid;.midi", "Midi"};
const FileTypeSpec kBinary{"Undefined Binary", ".bin", "BINA"};
const FileTypeSpec kDocument{"Quorvel! Document File", ".qvl", "QVSO"};
const FileTypeSpec kQLX{"QLX File", ".qlx", "QLX "};
const FileTypeSpec kSoundFont{"SoundFont", ".sf2", "SFnt"};
const FileTypeSpec kSampleCell{"SampleCell instrument file", ".ins", "SCin"};
const FileTypeSpec kMixman{"Mixman Track File", ".trk", ".TRK"};
const FileTypeSpec kPreferences{"Quorvel Preference File", ".prf", "QVLP"};
const FileTypeSpec kFLAC{"FLAC File", ".flac", "FLAC"};
const FileTypeSpec kSfz{"SFZ Instrument", ".sfz", "SFZ "};
const FileTypeSpec kHydrogenKit{"Hydrogen Drum Kit", ".h2drumkit", "H2DK"};

const std::vector<const FileTypeSpec*>& All()
{
    static const std::vector<const FileTypeSpec*> all{&kText,     &kBMP,       &kJPEG,      &kWave, &kAIFF,
                                                      &kMIDI,     &kBinary,    &kDocument,  &kQLX,  &kSoundFont,
                                                      &kSampleCell, &kMixman, &kPreferences};
    return all;
}
} // namespace filetypes

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::string FileExtension(const std::string& fileName)
{
    const size_t slash = fileName.rfind('/');
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    std::string base;
    std::string extension;
    CFileSpec::SplitName(name, base, extension);
    return extension;
}

bool FileTypeMatches(const FileTypeSpec& type, const std::string& fileName)
{
    const std::string extension = FileExtension(fileName);
    if (extension.empty())
        return false;
    const std::string list = type.extensions;
    size_t from = 0;
    while (from <= list.size()) {
        const size_t to = std::min(list.find(';', from), list.size());
        if (SameIgnoringCase(list.substr(from, to - from), extension))
            return true;
        from = to + 1;
    }
    return false;
}

const FileTypeSpec* FindFileType(const std::string& fileName)
{
    for (const FileTypeSpec* type : filetypes::All())
        if (FileTypeMatches(*type, fileName))
            return type;
    return nullptr;
}

std::string FirstExtension(const FileTypeSpec& type)
{
    const std::string list = type.extensions;
    return list.substr(0, list.find(';'));
}

} // namespace quorvel
