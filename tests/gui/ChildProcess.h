#pragma once
// Starts the desktop program as a real process with its own environment and
// waits for it with a deadline, so a hung program fails the test instead of
// hanging it.
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../common/TempFolder.h"

extern char** environ;

namespace quorvel::test {

using namespace std::chrono_literals;

class ChildProcess {
public:
    // `environment` entries ("NAME=value") are added to ours. Unless they
    // say otherwise, the copy keeps its preferences in a folder of its own,
    // so that no run sees what another left behind.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment)
    {
        std::vector<std::string> env(environment);
        env.push_back("QUORVEL_CONFIG_DIR=" + preferences_.Path());
        for (char** entry = environ; *entry; ++entry)
            env.emplace_back(*entry); // the first entry of a name wins
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        if (::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
    }
    ~ChildProcess()
    {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    void Signal(int signal) const { ::kill(pid_, signal); }

    // The exit status, or -1 when the process did not end normally in time.
    int Wait(std::chrono::milliseconds deadline = 10s)
    {
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(5ms);
        }
        return -1;
    }

private:
    TempFolder preferences_;
    pid_t pid_ = -1;
    bool exited_ = false;
};

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits until the file holds `line` as a whole line.
inline bool WaitForLine(const std::string& path, const std::string& line, std::chrono::milliseconds deadline = 10s)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        std::string text(1, '\n');
        text += ReadText(path);
        std::string wanted(1, '\n');
        wanted += line;
        wanted += '\n';
        if (text.find(wanted) != std::string::npos)
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(10ms);
    }
}

} // namespace quorvel::test
