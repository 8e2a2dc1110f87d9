#include "EventTrace.h"

#include <fstream>

namespace quorvel::gui {
namespace {

std::ofstream& TraceFile()
{
    static std::ofstream file;
    return file;
}

} // namespace

bool StartTrace(const std::string& path)
{
    TraceFile().open(path, std::ios::app);
    return TraceFile().is_open();
}

void Trace(std::string_view line)
{
    if (std::ofstream& file = TraceFile(); file.is_open())
        file << line << '\n' << std::flush;
}

} // namespace quorvel::gui
