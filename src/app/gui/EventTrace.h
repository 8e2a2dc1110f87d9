#pragma once
// An optional line-per-event record of what the program did (MIDI ports
// registered, start, frame shown, command lines received, quit), written to
// the file given with --trace. Tests and scripts read it; without --trace
// nothing is written.
#include <string>
#include <string_view>

namespace quorvel::gui {

// Appends to `path` from now on; false when it cannot be opened.
bool StartTrace(const std::string& path);
// Writes one line and flushes it, so a reader sees it at once.
void Trace(std::string_view line);
// From now on writes "modal <class>" whenever a modal dialog shows (call
// once, after the QApplication exists).
void TraceModalDialogs();

} // namespace quorvel::gui
