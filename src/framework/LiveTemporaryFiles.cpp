#include "framework/LiveTemporaryFiles.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace quorvel {

namespace {

// One slot per temporary being written: an export of 1000 slices plus an
// instrument file keeps about a thousand at once until it renames them.
constexpr int kSlots = 4096;

// Each slot owns a copy of the path made before it is published, so the
// handler only ever sees complete strings.
std::array<std::atomic<char*>, kSlots> slots{};

constexpr std::array<int, 3> kTerminatingSignals{SIGINT, SIGTERM, SIGHUP};

sigset_t TerminatingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kTerminatingSignals)
        sigaddset(&set, signal);
    return set;
}

void RemoveAndReraise(int signal)
{
    RemoveLiveTemporaries();
    // The signal is blocked while its handler runs: with the default action
    // back in place, it ends the process as soon as the handler returns.
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

int RegisterLiveTemporary(const std::string& path)
{
    char* copy = new char[path.size() + 1];
    std::memcpy(copy, path.c_str(), path.size() + 1);
    for (int i = 0; i < kSlots; ++i) {
        char* expected = nullptr;
        if (slots[i].compare_exchange_strong(expected, copy))
            return i;
    }
    delete[] copy;
    return -1;
}

void ForgetLiveTemporary(int token) noexcept
{
    if (token < 0 || token >= kSlots)
        return;
    // Taken out of the slot before it is freed, so a handler running now
    // either sees the whole path or nothing.
    delete[] slots[token].exchange(nullptr);
}

void RemoveLiveTemporaries() noexcept
{
    for (auto& slot : slots)
        if (const char* path = slot.load())
            ::unlink(path);
}

CTerminatingSignalsBlocked::CTerminatingSignalsBlocked()
{
    const sigset_t blocked = TerminatingSignals();
    ::pthread_sigmask(SIG_BLOCK, &blocked, &previous_);
}

CTerminatingSignalsBlocked::~CTerminatingSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

void RemoveLiveTemporariesOnSignals()
{
    struct sigaction action {};
    action.sa_handler = RemoveAndReraise;
    // One handler at a time: a second signal waits until the first has
    // removed the files and ended the process.
    action.sa_mask = TerminatingSignals();
    for (const int signal : kTerminatingSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace quorvel
