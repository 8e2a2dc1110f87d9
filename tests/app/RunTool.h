#pragma once
// Runs one of our executables and captures what it printed.
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "../common/TempFolder.h"

namespace quorvel::test {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline ToolRun RunTool(const std::string& tool, const std::string& arguments)
{
    const TempFolder folder;
    const std::string errFile = folder / "stderr.txt";
    const std::string command = std::string(QUORVEL_BIN_DIR) + "/" + tool + " " + arguments + " 2>" + errFile;
    ToolRun run;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer;
        size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            run.out.append(buffer.data(), got);
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (FILE* err = std::fopen(errFile.c_str(), "r")) {
        std::array<char, 4096> buffer;
        size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), err)) > 0)
            run.err.append(buffer.data(), got);
        std::fclose(err);
    }
    return run;
}

} // namespace quorvel::test
