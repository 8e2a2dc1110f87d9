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

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../common/TempFolder.h"

extern char** environ;

namespace quorvel::test {

using namespace std::chrono_literals;

class ChildProcess {
public:
    // `environment` entries ("NAME=value") are added to ours, or make the
    // whole environment when `inheritEnvironment` is false. Unless they say
    // otherwise, the copy keeps its preferences in a folder of its own, so
    // that no run sees what another left behind. A non-empty `outputFile`
    // receives what the copy writes to its standard output.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment, const std::string& outputFile = {},
                 bool inheritEnvironment = true)
    {
        std::vector<std::string> env(environment);
        env.push_back("QUORVEL_CONFIG_DIR=" + preferences_.Path());
        for (char** entry = environ; inheritEnvironment && *entry; ++entry)
            env.emplace_back(*entry); // the first entry of a name wins
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        if (!outputFile.empty())
            ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                               O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        ::posix_spawn_file_actions_destroy(&actions);
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

    // The exit status, or -1 when the process did not end normally in time
    // (killed by a signal, or still running).
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
