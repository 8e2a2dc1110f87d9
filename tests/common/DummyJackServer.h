#pragma once
// A JACK server of the test's own: `jackd -d dummy`, with this process's
// JACK clients pointed at it. It needs no sound hardware; the dummy driver
// keeps real time. Tests skip where jackd is not installed.
//
// One such server runs on the machine at a time: tests wait for a lock
// file. A client that misses its cycle (an xrun) makes JACK lose and repeat
// MIDI events between processes; servers side by side on two cores, or
// periods under 256 frames on a virtual machine, miss often. The server
// keeps a log, so that a test can tell such misses from a fault of ours.
//
// The name comes from a small pool: the machine's table of JACK servers has
// room for eight, and the entry of a server that died is only taken back by
// a server of the same name; a server a crashed test left running keeps its
// name busy.
#include <fcntl.h>
#include <sys/file.h>
#include <jack/jack.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace quorvel::test {

class CDummyJackServer {
public:
    static bool Installed() { return std::system("command -v jackd >/dev/null 2>&1") == 0; }

    // Starts the server and waits until a client can connect; Ready() tells
    // whether it came up.
    explicit CDummyJackServer(uint32_t rate = 44100, uint32_t period = 256)
    {
        if (!TakeName())
            return;
        setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
        setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
        rate_ = rate;
        period_ = period;
        ready_ = Start();
    }

    ~CDummyJackServer()
    {
        Stop(SIGTERM);
        // A crashed server leaves its entry in the machine's table of servers,
        // which has room for eight: a server of the same name takes the entry
        // back and, stopped in order, frees it.
        if (crashed_) {
            Start();
            Stop(SIGTERM);
        }
        unsetenv("JACK_DEFAULT_SERVER");
        if (!logPath_.empty())
            unlink(logPath_.c_str());
        if (lock_ >= 0)
            close(lock_);
    }

    CDummyJackServer(const CDummyJackServer&) = delete;
    CDummyJackServer& operator=(const CDummyJackServer&) = delete;

    bool Ready() const { return ready_; }
    const std::string& Name() const { return name_; }

    // How often the server has reported a missed deadline so far: a client
    // not finished in its cycle, or the driver itself late.
    int XRuns() const
    {
        std::ifstream file(logPath_);
        std::string line;
        int count = 0;
        while (std::getline(file, line))
            count += line.find("XRun") != std::string::npos ? 1 : 0;
        return count;
    }

    // Ends the server as a crash would: no goodbye to its clients.
    void Kill()
    {
        crashed_ = crashed_ || pid_ != 0;
        Stop(SIGKILL);
    }

private:
    static constexpr int kPoolSize = 4;

    bool TakeName()
    {
        // Read-only, so that a lock file another user made serves too.
        lock_ = open("/tmp/quorvel-test-jackd.lock", O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (lock_ < 0 || flock(lock_, LOCK_EX) != 0)
            return false;
        for (int i = 0; i < kPoolSize; ++i) {
            const std::string name = "quorvel-test-" + std::to_string(i);
            if (!Answers(name)) {
                name_ = name;
                char logPath[] = "/tmp/quorvel-test-jackd-XXXXXX";
                const int log = mkstemp(logPath);
                if (log < 0)
                    return false;
                close(log);
                logPath_ = logPath;
                return true;
            }
        }
        return false;
    }

    static bool Answers(const std::string& name)
    {
        jack_set_error_function([](const char*) {});
        jack_set_info_function([](const char*) {});
        jack_status_t status{};
        jack_client_t* client =
            jack_client_open("quorvel-test-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                             &status, name.c_str());
        if (client)
            jack_client_close(client);
        return client != nullptr;
    }

    bool Start()
    {
        const std::vector<std::string> args = {
            "jackd", "-n", name_, "-d", "dummy", "-r", std::to_string(rate_), "-p", std::to_string(period_)};
        std::vector<char*> argv;
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, logPath_.c_str(), O_WRONLY | O_APPEND, 0);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawnp(&pid_, "jackd", &actions, nullptr, argv.data(), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        return pid_ != 0 && WaitUntilAnswering();
    }

    bool WaitUntilAnswering()
    {
        // The attempts before the server is up are expected to fail.
        jack_set_error_function([](const char*) {});
        jack_set_info_function([](const char*) {});
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < until) {
            jack_status_t status{};
            if (jack_client_t* client = jack_client_open("quorvel-test-probe", JackNoStartServer, &status)) {
                jack_client_close(client);
                return true;
            }
            int exitStatus = 0;
            if (waitpid(pid_, &exitStatus, WNOHANG) == pid_) {
                pid_ = 0;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void Stop(int signal)
    {
        if (pid_ == 0)
            return;
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }

    std::string name_;
    std::string logPath_;
    uint32_t rate_ = 0;
    uint32_t period_ = 0;
    pid_t pid_ = 0;
    bool ready_ = false;
    bool crashed_ = false;
    int lock_ = -1;
};

} // namespace quorvel::test

// Starts a dummy server named `server`, or skips the test where there is none.
#define QUORVEL_DUMMY_JACK_SERVER(server, ...)                                 \
    if (!::quorvel::test::CDummyJackServer::Installed())                       \
        GTEST_SKIP() << "jackd is not installed";                              \
    ::quorvel::test::CDummyJackServer server{__VA_ARGS__};                     \
    ASSERT_TRUE(server.Ready()) << "the dummy JACK server did not start"
