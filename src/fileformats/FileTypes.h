#pragma once
// The file types the program knows, recognised by extension (this platform
// reports no type codes), and the bare codes used when files are created.
#include <string>
#include <vector>

#include "framework/FourCC.h"

namespace quorvel {

struct FileTypeSpec {
    const char* description; // up to 64 characters
    const char* extensions;  // ".aif;.aiff"
    FourCC typeCode;
};

namespace filetypes {
extern const FileTypeSpec kText;
extern const FileTypeSpec kBMP;
extern const FileTypeSpec kJPEG;
extern const FileTypeSpec kWave;
extern const FileTypeSpec kAIFF;
extern const FileTypeSpec kMIDI;
extern const FileTypeSpec kBinary;
extern const FileTypeSpec kDocument;
extern const FileTypeSpec kQLX;
extern const FileTypeSpec kSoundFont;
extern const FileTypeSpec kSampleCell;
extern const FileTypeSpec kMixman;
extern const FileTypeSpec kPreferences;

// Types the program only writes; they stay out of the registry that decides
// what a file is when it is opened.
extern const FileTypeSpec kFLAC;
extern const FileTypeSpec kSfz;
extern const FileTypeSpec kHydrogenKit;

// All thirteen, in registry order.
const std::vector<const FileTypeSpec*>& All();
} // namespace filetypes

// The extension of a file name (folders are ignored): from the last '.' when
// that text is at most 8 characters, else empty.
std::string FileExtension(const std::string& fileName);
// True when the name's extension is one of the type's, ignoring letter case.
bool FileTypeMatches(const FileTypeSpec& type, const std::string& fileName);
// The first registered type that matches, or null.
const FileTypeSpec* FindFileType(const std::string& fileName);
// The type's first extension (".aif" for Audio IFF), used for new files.
std::string FirstExtension(const FileTypeSpec& type);

class CUnknownFileType {
public:
    explicit CUnknownFileType(FourCC code) : code_(code) {}
    virtual ~CUnknownFileType() = default;
    FourCC Code() const { return code_; }

private:
    FourCC code_;
};

// A creator signature passed when files are created.
class CFileCreator : public CUnknownFileType {
public:
    explicit CFileCreator(FourCC code) : CUnknownFileType(code) {}
    static CFileCreator Own() { return CFileCreator("Qvrl"); }
};

} // namespace quorvel
