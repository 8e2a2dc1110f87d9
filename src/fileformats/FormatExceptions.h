#pragma once
// Failures of the file formats. XBadFormat is the chunk layer's (missing or
// malformed chunks); the others are about sound files and their import.
#include "framework/FileExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XBadFormat, XFile);
QUORVEL_EXCEPTION(XSoundFile, XFile);
QUORVEL_EXCEPTION(XUnsupportedFormat, XSoundFile);
QUORVEL_EXCEPTION(XUnknownFileType, XSoundFile);
QUORVEL_EXCEPTION(XQLXUnsupportedFileType, XSoundFile);
// A value (a sample rate, a size) that the field of the header it belongs in
// cannot hold: writing it would produce a wrong header.
QUORVEL_EXCEPTION(XHeaderOverflow, XFile);

// A sound outside the import limits. Carries the alert (table 129) that
// tells the user which limit it broke; FileAlertText gives its text.
class XUnsupportedFileType : public XSoundFile {
public:
    enum Alert : int { kTooLong = 20, kNot16Bit = 21, kTooManyChannels = 22 };

    explicit XUnsupportedFileType(Alert alert) : alert_(alert) {}
    Alert AlertNumber() const { return alert_; }
    const char* what() const noexcept override { return "XUnsupportedFileType"; }

private:
    Alert alert_;
};

} // namespace quorvel
