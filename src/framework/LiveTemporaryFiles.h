#pragma once
// The temporary files this process is writing right now, so that a signal
// that ends the process (Ctrl-C, SIGTERM, SIGHUP) does not leave them beside
// the user's files. Registering and forgetting are cheap; the removal runs in
// a signal handler and so only reads what registering prepared.
#include <csignal>
#include <string>

namespace quorvel {

// Returns a token for ForgetLiveTemporary, or -1 when the registry is full
// (the file is then only cleaned up later as a stale temporary).
int RegisterLiveTemporary(const std::string& path);
// The file was renamed into place or removed.
void ForgetLiveTemporary(int token) noexcept;

// Unlinks every registered file. Async-signal-safe.
void RemoveLiveTemporaries() noexcept;

// Holds SIGINT, SIGTERM and SIGHUP back for the calling thread while it
// lives, so that a file is never created without being registered.
class CTerminatingSignalsBlocked {
public:
    CTerminatingSignalsBlocked();
    ~CTerminatingSignalsBlocked();
    CTerminatingSignalsBlocked(const CTerminatingSignalsBlocked&) = delete;
    CTerminatingSignalsBlocked& operator=(const CTerminatingSignalsBlocked&) = delete;

private:
    sigset_t previous_;
};

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the live
// temporaries and then end the process by the same signal. For programs
// that have no handlers of their own for these signals.
void RemoveLiveTemporariesOnSignals();

} // namespace quorvel
