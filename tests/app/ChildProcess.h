#pragma once
// One of our executables running beside the test, its output going to files
// the test reads while it runs. Every wait has a limit; a child still running
// when the object goes is killed.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace quorvel::test {

class ChildProcess {
public:
    // Runs build/bin/`tool` with `arguments`; stdout and stderr go to the two files.
    ChildProcess(const std::string& tool, const std::vector<std::string>& arguments, std::string outFile,
                 std::string errFile)
        : outFile_(std::move(outFile)), errFile_(std::move(errFile))
    {
        std::vector<std::string> args = {std::string(QUORVEL_BIN_DIR) + "/" + tool};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess()
    {
        if (pid_ != 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    std::string Out() const { return Read(outFile_); }
    std::string Err() const { return Read(errFile_); }

    // True once stdout holds `text`; false when the child ended or the time ran out first.
    bool WaitForOutput(const std::string& text, std::chrono::seconds limit)
    {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < until) {
            if (Out().find(text) != std::string::npos)
                return true;
            if (Ended())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    void Signal(int signal)
    {
        if (pid_ != 0)
            kill(pid_, signal);
    }

    // The exit status once the child has ended by itself within `limit`;
    // nothing when it is still running or a signal ended it.
    std::optional<int> WaitForExit(std::chrono::seconds limit)
    {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (!Ended() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!ended_ || !WIFEXITED(status_))
            return std::nullopt;
        return WEXITSTATUS(status_);
    }

private:
    static std::string Read(const std::string& path)
    {
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    bool Ended()
    {
        if (!ended_ && pid_ != 0 && waitpid(pid_, &status_, WNOHANG) == pid_) {
            ended_ = true;
            pid_ = 0;
        }
        return ended_;
    }

    std::string outFile_;
    std::string errFile_;
    pid_t pid_ = 0;
    int status_ = 0;
    bool ended_ = false;
};

} // namespace quorvel::test
