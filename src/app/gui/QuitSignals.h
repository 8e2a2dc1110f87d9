#pragma once
// SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C in a terminal, the terminal
// closed) end the program through
// its own quit, so preferences and placement are still saved: the signal
// handler only writes to a pipe, and the event loop (a dialog's too) reads
// it and calls `quit`.
#include <functional>

namespace quorvel::gui {

// Call once, after the QApplication exists; `quit` runs on the event loop.
// False when the pipe cannot be made (the signals then keep their default).
bool QuitOnTerminationSignals(std::function<void()> quit);

} // namespace quorvel::gui
