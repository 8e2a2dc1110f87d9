#pragma once
// The program's own document: a plain mono AIFF file that any audio program
// can play, with the slicing work in an "APPL" chunk signed "Qvrl".
#include <memory>
#include <string>

#include "document/DocumentSettings.h"
#include "framework/Media.h"
#include "document/SoundDocument.h"
#include "fileformats/DocumentAppChunk.h"
#include "fileformats/SoundImport.h"
#include "framework/FileSpec.h"

namespace quorvel {

// Writes the whole document file ("FORM"/"AIFF": COMM, SSND, INST, MARK, APPL).
void WriteDocument(CMedia& media, CSoundDocument& document);

// Saves to `file` without ever destroying what was there: a failure leaves
// the previous file untouched and the document modified. On success the
// document is unmodified and `file` becomes its document file.
void SaveDocument(CSoundDocument& document, const CFileSpec& file);

// The "APPL" document record of an AIFF stream: XBadFormat when it is
// missing or damaged, XUnsupportedFormat when a later version wrote it.
DocumentAppChunk ReadDocumentChunk(CMedia& media, int32_t soundLength);
DocumentAppChunk ReadDocumentChunk(CIFFReader& reader, int32_t soundLength);

// What opening a file produced. A document whose slicing record could not
// be used still opens as a plain (analysed) sound; `alert` then names the
// alert that says why: 27 damaged, 28 written by a later version.
struct OpenedDocument {
    std::unique_ptr<CSoundDocument> document;
    int alert = 0;
};

// Opens a sound file or a document as the program does: the import limits
// and channel mode apply; a ".qvl" file restores its slices and settings.
// Failures of the sound itself propagate (the caller's alert 25 / 26).
OpenedDocument OpenSoundOrDocument(const CFileSpec& file, ChannelMode mode,
                                   const DefaultDocumentOptions& defaults, bool barsToOne);

} // namespace quorvel
