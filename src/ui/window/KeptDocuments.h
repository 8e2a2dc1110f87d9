#pragma once
// Documents nobody could be asked about: when the session ends (logout,
// SIGTERM) while a document would ask "Save changes before close?", it is
// written as a document file of its own into a folder beside the
// preferences instead, never over a file of the user's, so that quitting
// without a question loses nothing. The recent-documents list then names it.
#include <string>

namespace quorvel {

class CSoundDocument;

// "<preferences folder>/Kept Documents".
std::string KeptDocumentsFolder();

// Writes `document` there under its sound's name (with a number added when
// that name is taken) and returns the file's path; it becomes the
// document's file. A failure throws and leaves the document as it was.
std::string KeepDocument(CSoundDocument& document);

} // namespace quorvel
